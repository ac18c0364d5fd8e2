// SPDX-License-Identifier: GPL-3.0-or-later
// The magnifier as it is seen: the frame with the grid and its centre
// markers rendered to an image and checked cell by cell.
#include "app/form/form_colors.h"
#include "app/form/magnifier_grid.h"
#include "tests/form/form_test_support.h"

#include <QImage>
#include <array>
#include <gtest/gtest.h>

namespace huegrab {
namespace {

using testing_support::FormFixture;
using testing_support::Px;

// Cell i's square inside Frame1(5), from the twips of its frame and cell.
QRect CellInFrame(int i) {
    const int column = i % 11;
    const int row = i / 11;
    return QRect(Px(120 + 120 * column), Px(240 + 120 * row), Px(135), Px(135));
}

QColor Inside(const QImage& image, int i) {
    return image.pixelColor(CellInFrame(i).center());
}

class Magnifier : public ::testing::Test, protected FormFixture {
protected:
    QImage Render() { return form.Control("Frame1", 5)->grab().toImage(); }

    MagnifierGrid* grid() { return form.Controls().picked.magnifier; }
};

// Distinct colours, none of them black or a marker colour.
ColorValue PatternColor(int i) {
    return 0x102030 + i * 0x010305;
}

TEST_F(Magnifier, StartsInTheWindowBackgroundColor) {
    ASSERT_NE(grid(), nullptr);
    EXPECT_FALSE(grid()->HasCells());
    EXPECT_EQ(grid()->Cell(0), kSystemWindowColor);
    const QImage image = Render();
    const QColor base = grid()->palette().color(QPalette::Base);
    for (const int i : {0, 10, 60, 110, 120}) {
        EXPECT_EQ(Inside(image, i), base) << i;
    }
}

TEST_F(Magnifier, EachCellShowsItsColorOnAOnePixelGrid) {
    std::array<ColorValue, 121> colors{};
    for (int i = 0; i < 121; ++i) {
        colors[i] = PatternColor(i);
    }
    grid()->SetCells(colors);
    EXPECT_TRUE(grid()->HasCells());
    const QImage image = Render();
    for (int i = 0; i < 121; ++i) {
        if (i == 49 || i == 59 || i == 61 || i == 71) {
            continue;
        }
        SCOPED_TRACE(i);
        EXPECT_EQ(grid()->Cell(i), colors[i]);
        const QRect cell = CellInFrame(i);
        ASSERT_EQ(cell.size(), QSize(9, 9));
        // The whole inside is the colour; the border all round is black.
        for (int y = cell.top() + 1; y < cell.bottom(); ++y) {
            for (int x = cell.left() + 1; x < cell.right(); ++x) {
                ASSERT_EQ(image.pixelColor(x, y), ToQColor(colors[i])) << x << "," << y;
            }
        }
        for (int k = 0; k < 9; ++k) {
            EXPECT_EQ(image.pixelColor(cell.left() + k, cell.top()), QColor(Qt::black));
            EXPECT_EQ(image.pixelColor(cell.left(), cell.top() + k), QColor(Qt::black));
            EXPECT_EQ(image.pixelColor(cell.right(), cell.top() + k), QColor(Qt::black));
            EXPECT_EQ(image.pixelColor(cell.left() + k, cell.bottom()), QColor(Qt::black));
        }
    }
    // Neighbours share their border: one line of one pixel between cells 0 and 1.
    EXPECT_EQ(CellInFrame(1).left(), CellInFrame(0).right());
}

TEST_F(Magnifier, MarkersStandInTheFourHiddenCells) {
    std::array<ColorValue, 121> white{};
    white.fill(0xFFFFFF);
    grid()->SetCells(white);
    const QImage image = Render();
    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);
    EXPECT_EQ(Inside(image, 49), red);  // above the centre
    EXPECT_EQ(Inside(image, 71), red);  // below
    EXPECT_EQ(Inside(image, 59), blue); // left
    EXPECT_EQ(Inside(image, 61), blue); // right
    EXPECT_EQ(Inside(image, 60), QColor(Qt::white));
    // The hidden cells keep the colours they were given; nobody sees them.
    EXPECT_EQ(grid()->Cell(49), 0xFFFFFF);
    EXPECT_TRUE(MagnifierGrid::IsHiddenCell(49));
    EXPECT_FALSE(MagnifierGrid::IsHiddenCell(60));
    EXPECT_FALSE(MagnifierGrid::IsHiddenCell(48));
}

TEST_F(Magnifier, UnreadablePixelsPaintBlack) {
    std::array<ColorValue, 121> colors{};
    colors.fill(0x00FF00);
    colors[0] = -1;
    colors[120] = kSystemWindowColor; // any negative value
    grid()->SetCells(colors);
    const QImage image = Render();
    EXPECT_EQ(Inside(image, 0), QColor(Qt::black));
    EXPECT_EQ(Inside(image, 120), QColor(Qt::black));
    EXPECT_EQ(Inside(image, 1), QColor(0, 255, 0));
    EXPECT_EQ(grid()->Cell(0), 0);
    EXPECT_EQ(grid()->Cell(120), 0);
    EXPECT_EQ(grid()->Cell(121), -1);
    EXPECT_EQ(grid()->Cell(-1), -1);
}

TEST_F(Magnifier, ColorOrderIsBlueGreenRed) {
    std::array<ColorValue, 121> colors{};
    colors.fill(0x000000);
    colors[60] = 0x0000FF; // red in the low byte
    colors[0] = 0xFF0000;
    grid()->SetCells(colors);
    const QImage image = Render();
    EXPECT_EQ(Inside(image, 60), QColor(255, 0, 0));
    EXPECT_EQ(Inside(image, 0), QColor(0, 0, 255));
}

} // namespace
} // namespace huegrab
