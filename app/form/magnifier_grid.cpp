// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/magnifier_grid.h"

#include "app/form/form_colors.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>

namespace huegrab {

MagnifierGrid::MagnifierGrid(QWidget* parent) : QWidget(parent) {
    cells_.fill(kSystemWindowColor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MagnifierGrid::SetCells(const std::array<ColorValue, kCells>& colors) {
    bool shownChange = !hasCells_;
    for (int i = 0; i < kCells; ++i) {
        const ColorValue value = colors[i] < 0 ? 0 : colors[i];
        if (cells_[i] != value && !IsHiddenCell(i)) {
            shownChange = true;
        }
        cells_[i] = value;
    }
    hasCells_ = true;
    if (shownChange) {
        pictureStale_ = true;
        update();
    }
}

ColorValue MagnifierGrid::Cell(int i) const {
    if (i < 0 || i >= kCells) {
        return -1;
    }
    return cells_[i];
}

bool MagnifierGrid::IsHiddenCell(int i) {
    return i == kCentre - kSide || i == kCentre - 1 || i == kCentre + 1 || i == kCentre + kSide;
}

ColorValue MagnifierGrid::MarkerColor(int i) {
    if (i == kCentre - kSide || i == kCentre + kSide) {
        return kMarkerAboveBelow;
    }
    if (i == kCentre - 1 || i == kCentre + 1) {
        return kMarkerBeside;
    }
    return -1;
}

QRect MagnifierGrid::CellRect(int i) {
    return QRect((i % kSide) * kPitch, (i / kSide) * kPitch, kCellSize, kCellSize);
}

void MagnifierGrid::BuildPicture() {
    if (picture_.isNull()) {
        picture_ = QImage(kPixelSize, kPixelSize, QImage::Format_RGB32);
    }
    const QRgb black = qRgb(0, 0, 0);
    const QRgb systemColor = palette().color(QPalette::Base).rgb();
    std::array<QRgb, kCells> shown{};
    for (int i = 0; i < kCells; ++i) {
        const ColorValue value = IsHiddenCell(i) ? MarkerColor(i) : cells_[i];
        shown[i] = value == kSystemWindowColor ? systemColor : ToQColor(value).rgb();
    }
    // Every eighth row and column is a grid line; the seven pixels between
    // two lines belong to one cell. Each row of cells is built once and
    // copied to its seven pixel rows.
    const auto rowBytes = static_cast<std::size_t>(kPixelSize) * sizeof(QRgb);
    for (int y = 0; y < kPixelSize; y += kPitch) {
        auto* line = reinterpret_cast<QRgb*>(picture_.scanLine(y));
        std::fill(line, line + kPixelSize, black);
        if (y + 1 >= kPixelSize) {
            break;
        }
        auto* first = reinterpret_cast<QRgb*>(picture_.scanLine(y + 1));
        const QRgb* cells = shown.data() + (y / kPitch) * kSide;
        for (int x = 0; x < kPixelSize; ++x) {
            first[x] = x % kPitch == 0 ? black : cells[x / kPitch];
        }
        for (int copy = y + 2; copy < y + kPitch; ++copy) {
            std::memcpy(picture_.scanLine(copy), first, rowBytes);
        }
    }
    pictureStale_ = false;
}

void MagnifierGrid::paintEvent(QPaintEvent* /*event*/) {
    if (pictureStale_ || picture_.isNull()) {
        BuildPicture();
    }
    QPainter painter(this);
    // Anything the picture does not cover (a widget larger than the grid) is border.
    if (width() > kPixelSize || height() > kPixelSize) {
        painter.fillRect(rect(), Qt::black);
    }
    // Whole logical pixels scale by whole device pixels: no smoothing.
    painter.drawImage(QRect(0, 0, kPixelSize, kPixelSize), picture_);
}

void MagnifierGrid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        pictureStale_ = true; // the cells not yet set show the palette's Base
        update();
    }
    QWidget::changeEvent(event);
}

} // namespace huegrab
