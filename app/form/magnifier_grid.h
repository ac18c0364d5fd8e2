// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_model.h"

#include <QImage>
#include <QWidget>
#include <array>

namespace huegrab {

// The 11 x 11 magnifier drawn as one surface. Cell i stands in column i % 11
// and row i / 11; each cell is a 9 x 9 pixel square with a one-pixel black
// border on an 8-pixel pitch, so neighbours share their borders and the
// borders form a one-pixel grid. Before the first SetCells every cell shows
// the palette's Base colour (the desktop's window background). The four cells
// beside the centre are never shown: the grid draws the centre markers in
// their place, red above and below, blue left and right.
//
// The whole picture is one image built from the cells and drawn in one
// piece, so a refresh costs one blit and one flushed rectangle; a refresh
// that changes no visible cell paints nothing.
class MagnifierGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSide = 11;
    static constexpr int kCells = kSide * kSide;
    static constexpr int kCentre = 60;
    static constexpr int kPitch = 8;    // pixels from one cell's left edge to the next
    static constexpr int kCellSize = 9; // pixels, borders included
    static constexpr int kPixelSize = kPitch * (kSide - 1) + kCellSize; // 89
    static constexpr ColorValue kMarkerAboveBelow = 0x0000FF;           // red
    static constexpr ColorValue kMarkerBeside = 0xFF0000;               // blue

    explicit MagnifierGrid(QWidget* parent = nullptr);

    // New colours for all cells; a negative value (an unreadable pixel)
    // paints black. Schedules a repaint only when a shown cell changes.
    void SetCells(const std::array<ColorValue, kCells>& colors);
    // The colour cell i shows: 0 for a cell given a negative value,
    // kSystemWindowColor before the first SetCells.
    ColorValue Cell(int i) const;
    bool HasCells() const { return hasCells_; }

    // The cells 49, 59, 61 and 71 share a side with the centre and are never shown.
    static bool IsHiddenCell(int i);
    // The marker colour drawn in place of a hidden cell; -1 for other cells.
    static ColorValue MarkerColor(int i);
    // Cell i's square in this widget's pixels, borders included.
    static QRect CellRect(int i);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Fills picture_ from the cells, markers and grid lines.
    void BuildPicture();

    std::array<ColorValue, kCells> cells_{};
    bool hasCells_ = false;
    QImage picture_; // kPixelSize square, one pixel per logical pixel
    bool pictureStale_ = true;
};

} // namespace huegrab
