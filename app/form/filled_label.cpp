// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/filled_label.h"

#include "app/form/form_colors.h"
#include "app/form/item_text.h"
#include "app/form/shaped_line.h"

#include <QPaintEvent>
#include <QPainter>

namespace huegrab {

FilledLabel::FilledLabel(QWidget* parent) : QLabel(parent) {}

void FilledLabel::SetFill(ColorValue value, const QColor& color) {
    if (!filled_) {
        // Covers itself from now on: Qt neither fills it first nor repaints
        // what lies beneath when it changes.
        setAttribute(Qt::WA_OpaquePaintEvent);
        filled_ = true;
    }
    // To or from the system colour, what shows may differ from colour_: the
    // theme may have changed since it was looked up.
    const bool system = value == kSystemWindowColor || value_ == kSystemWindowColor;
    value_ = value;
    if (color != color_ || system) {
        color_ = color;
        update();
    }
}

QColor FilledLabel::FillColor() const {
    return value_ == kSystemWindowColor ? ShownBackColor(this, value_) : color_;
}

void FilledLabel::paintEvent(QPaintEvent* event) {
    // A plain caption (a slot's number) is drawn here as the label would
    // draw it, in one painter with the fill and from the cache of shaped
    // lines: the focused slot repaints on every tick.
    const bool plainCaption = filled_ && textFormat() == Qt::PlainText && pixmap().isNull() &&
                              margin() == 0 &&
                              (indent() == 0 || (indent() < 0 && frameWidth() == 0)) &&
                              IsPlainItemText(text(), alignment(), isEnabled());
    if (!plainCaption) {
        if (filled_) {
            QPainter painter(this);
            painter.fillRect(event->rect(), FillColor());
        }
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.fillRect(event->rect(), FillColor());
    drawFrame(&painter);
    DrawPlainItemText(painter, contentsRect(), alignment(), *CachedShapedLine(font(), text()),
                      palette().brush(foregroundRole()));
}

} // namespace huegrab
