// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_model.h"

#include <QColor>
#include <QLabel>

namespace huegrab {

// A label that fills its background with a colour of its own, under its
// text and frame. The swatches and slots take a new colour on every tick:
// kept here, that costs a member write and a repaint of the label alone,
// where a palette change would resolve and propagate a palette and make Qt
// rebuild the window's opaque region.
class FilledLabel : public QLabel {
    Q_OBJECT
public:
    explicit FilledLabel(QWidget* parent = nullptr);

    // value is what FillValue() reads back; colour is what is painted.
    void SetFill(ColorValue value, const QColor& color);
    bool Filled() const { return filled_; }
    ColorValue FillValue() const { return value_; }
    // What it paints; its own palette plays no part. The system colour is
    // looked up when painted, so that it follows a change of theme.
    QColor FillColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool filled_ = false;
    ColorValue value_ = -1;
    QColor color_;
};

} // namespace huegrab
