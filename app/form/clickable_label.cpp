#include "app/form/clickable_label.h"

#include <QMouseEvent>

namespace huegrab {

ClickableLabel::ClickableLabel(QWidget* parent) : FilledLabel(parent) {}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pressed_) {
        pressed_ = false;
        event->accept();
        if (rect().contains(event->position().toPoint())) {
            emit clicked();
        }
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // Taken here, not passed on as another press: its release clicks
        // nothing.
        pressed_ = false;
        event->accept();
        return;
    }
    QLabel::mouseDoubleClickEvent(event);
}

} // namespace huegrab
