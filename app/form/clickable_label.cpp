#include "app/form/clickable_label.h"

#include <QMouseEvent>

namespace huegrab {

ClickableLabel::ClickableLabel(QWidget* parent) : FilledLabel(parent) {}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        pressedSinceEntering_ = true;
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
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseDoubleClickEvent(event);
        return;
    }
    // Qt pairs two quick presses close together whatever control each went
    // down on. When the first one was on another control (a neighbouring
    // slot), this is the first press here, and its release clicks.
    if (!pressedSinceEntering_) {
        mousePressEvent(event);
        return;
    }
    // The second press of a double click on this label: taken here, not
    // passed on as another press, so its release clicks nothing.
    pressed_ = false;
    event->accept();
}

void ClickableLabel::leaveEvent(QEvent* event) {
    pressedSinceEntering_ = false;
    QLabel::leaveEvent(event);
}

} // namespace huegrab
