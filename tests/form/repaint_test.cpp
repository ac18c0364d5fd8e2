// SPDX-License-Identifier: GPL-3.0-or-later
// What a tick costs on screen: which widgets repaint, in how many pieces,
// and that the drawing shortcuts paint exactly what the style would.
#include "app/form/form_colors.h"
#include "app/form/form_style.h"
#include "app/form/magnifier_grid.h"
#include "tests/form/form_test_support.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPaintEvent>
#include <QStyleFactory>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace huegrab {
namespace {

using testing_support::FormFixture;

// Records the paint events a widget receives.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    std::vector<QRegion> regions;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            regions.push_back(static_cast<QPaintEvent*>(event)->region());
        return false;
    }
};

void Settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

std::array<ColorValue, MagnifierGrid::kCells> Cells(ColorValue fill) {
    std::array<ColorValue, MagnifierGrid::kCells> cells{};
    cells.fill(fill);
    return cells;
}

class Repaint : public ::testing::Test, protected FormFixture {
protected:
    void SetUp() override {
        form.show();
        Settle();
        grid()->SetCells(Cells(0x336699));
        SetBackColor(swatch(), 0x336699);
        Settle();
    }

public:
    MagnifierGrid* grid() { return form.Controls().picked.magnifier; }
    QWidget* swatch() { return form.Control("得颜色"); }
};

// A tick that writes what is already shown costs no painting; a change
// repaints the widget once, and the magnifier always in one rectangle, the
// centre markers it draws included: their own labels take no paint event.
TEST_F(Repaint, OnlyWhatChangedIsRepaintedAndTheMagnifierInOnePiece) {
    struct Case {
        const char* what;
        bool onGrid;
        std::function<void(Repaint&)> change;
        int paints;
    };
    const Case cases[] = {
        {"same cells", true, [](Repaint& t) { t.grid()->SetCells(Cells(0x336699)); }, 0},
        {"only a hidden cell", true,
         [](Repaint& t) {
             auto cells = Cells(0x336699);
             cells[49] = 0x00FF00;
             t.grid()->SetCells(cells);
         },
         0},
        {"the centre cell", true,
         [](Repaint& t) {
             auto cells = Cells(0x336699);
             cells[60] = 0x00FF00;
             t.grid()->SetCells(cells);
         },
         1},
        {"a cell beside a marker", true,
         [](Repaint& t) {
             auto cells = Cells(0x336699);
             cells[48] = 0x00FF00;
             t.grid()->SetCells(cells);
         },
         1},
        {"same swatch colour", false, [](Repaint& t) { SetBackColor(t.swatch(), 0x336699); }, 0},
        {"new swatch colour", false, [](Repaint& t) { SetBackColor(t.swatch(), 0x00FF00); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp(); // the same starting picture for every case
        QWidget* target = c.onGrid ? grid() : swatch();
        PaintRecorder recorder(target);
        PaintRecorder marker(form.Control("pd", 1));
        c.change(*this);
        Settle();
        ASSERT_EQ(static_cast<int>(recorder.regions.size()), c.paints);
        if (c.onGrid && c.paints > 0) {
            EXPECT_EQ(recorder.regions.front(), QRegion(grid()->rect()));
        }
        EXPECT_TRUE(marker.regions.empty());
    }
}

// The grid alone draws the markers: its own image shows them with the
// one-pixel black grid around them.
TEST_F(Repaint, TheGridDrawsTheMarkersItself) {
    grid()->SetCells(Cells(0xFFFFFF));
    const QImage image = grid()->grab().toImage();
    for (const int cell : {49, 59, 61, 71}) {
        SCOPED_TRACE(cell);
        const QRect square = MagnifierGrid::CellRect(cell);
        EXPECT_EQ(image.pixelColor(square.center()), ToQColor(MagnifierGrid::MarkerColor(cell)));
        EXPECT_EQ(image.pixelColor(square.topLeft()), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(square.bottomRight()), QColor(Qt::black));
    }
    EXPECT_EQ(image.pixelColor(MagnifierGrid::CellRect(60).center()), QColor(Qt::white));
    EXPECT_EQ(MagnifierGrid::MarkerColor(60), -1);
}

// A field's panel copied from the cache looks exactly like the panel the
// base style draws, whatever changed since the last copy: background, focus,
// enabled state, size, read-only state.
TEST(FieldPanel, CopiedPanelsMatchTheBaseStyle) {
    std::unique_ptr<QStyle> plain(QStyleFactory::create(QApplication::style()->name()));
    ASSERT_TRUE(plain);
    const auto focus = [](QLineEdit& f) {
        f.show();
        QApplication::setActiveWindow(&f);
        f.setFocus();
        ASSERT_TRUE(f.hasFocus());
    };
    struct Step {
        const char* what;
        std::function<void(QLineEdit&)> change;
    };
    const Step steps[] = {
        {"grey read-only",
         [](QLineEdit& f) {
             f.setReadOnly(true);
         }},
        {"again, from the cache",
         [](QLineEdit&) {
         }},
        {"focused", focus},
        {"white",
         [](QLineEdit& f) {
             f.clearFocus();
             SetBackColor(&f, kWhite);
         }},
        {"disabled",
         [](QLineEdit& f) {
             f.setEnabled(false);
         }},
        {"enabled, wider",
         [](QLineEdit& f) {
             f.setEnabled(true);
             f.resize(90, 15);
         }},
        {"editable",
         [](QLineEdit& f) {
             f.setReadOnly(false);
         }},
    };
    QLineEdit cached(QStringLiteral("9ABECB"));
    QLineEdit reference(QStringLiteral("9ABECB"));
    cached.setStyle(SharedFormStyle());
    reference.setStyle(plain.get());
    for (QLineEdit* field : {&cached, &reference}) {
        field->resize(49, 15);
        SetBackColor(field, kLightGrey);
    }
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        // One field at a time: only one can have the focus.
        step.change(cached);
        const QImage fromCache = cached.grab().toImage();
        step.change(reference);
        EXPECT_EQ(fromCache, reference.grab().toImage());
    }
}

// The ink band kept per font is the band measured for that font.
TEST(FieldPanel, InkBandIsKeptPerFont) {
    QFont small;
    small.setPixelSize(12);
    QFont large = small;
    large.setPixelSize(30);
    QFont bold = small;
    bold.setBold(true);
    for (const QFont& font : {small, large, bold, small}) {
        SCOPED_TRACE(font.key().toStdString());
        const InkBand measured = InkBandOf(QFontMetrics(font));
        const InkBand kept = CachedInkBandOf(font);
        EXPECT_EQ(kept.above, measured.above);
        EXPECT_EQ(kept.below, measured.below);
    }
    EXPECT_GT(CachedInkBandOf(large).above, CachedInkBandOf(small).above);
}

} // namespace
} // namespace huegrab
