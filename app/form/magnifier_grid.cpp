#include "app/form/magnifier_grid.h"

#include "app/form/form_colors.h"

#include <QPainter>

namespace huegrab {

MagnifierGrid::MagnifierGrid(QWidget* parent) : QWidget(parent) {
    cells_.fill(kSystemWindowColor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MagnifierGrid::SetCells(const std::array<ColorValue, kCells>& colors) {
    for (int i = 0; i < kCells; ++i) {
        cells_[i] = colors[i] < 0 ? 0 : colors[i];
    }
    hasCells_ = true;
    update();
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

QRect MagnifierGrid::CellRect(int i) {
    return QRect((i % kSide) * kPitch, (i / kSide) * kPitch, kCellSize, kCellSize);
}

void MagnifierGrid::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    // The borders: everything not covered by a cell's inside.
    painter.fillRect(rect(), Qt::black);
    const QColor systemColor = palette().color(QPalette::Base);
    for (int i = 0; i < kCells; ++i) {
        if (IsHiddenCell(i)) {
            continue;
        }
        const ColorValue value = cells_[i];
        const QColor color = value == kSystemWindowColor ? systemColor : ToQColor(value);
        painter.fillRect(CellRect(i).adjusted(1, 1, -1, -1), color);
    }
}

} // namespace huegrab
