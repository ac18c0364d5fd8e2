#include "app/form/filled_label.h"

#include <QPaintEvent>
#include <QPainter>

namespace huegrab {

FilledLabel::FilledLabel(QWidget* parent) : QLabel(parent) {}

void FilledLabel::SetFill(ColorValue value, const QColor& colour) {
    if (!filled_) {
        // Covers itself from now on: Qt neither fills it first nor repaints
        // what lies beneath when it changes.
        setAttribute(Qt::WA_OpaquePaintEvent);
        filled_ = true;
    }
    value_ = value;
    if (colour != colour_) {
        colour_ = colour;
        update();
    }
}

void FilledLabel::paintEvent(QPaintEvent* event) {
    if (filled_) {
        QPainter painter(this);
        painter.fillRect(event->rect(), colour_);
    }
    QLabel::paintEvent(event);
}

} // namespace huegrab
