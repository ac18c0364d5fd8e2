// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/clickable_label.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace huegrab {
namespace {

// A label that acts reads as a push button that can be pressed.
class ClickableLabelAccessible final : public QAccessibleWidget {
public:
    explicit ClickableLabelAccessible(ClickableLabel* label)
        : QAccessibleWidget(label, QAccessible::Button) {}

    // Named by its caption ("3"), not by the frame around it.
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<ClickableLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            emit static_cast<ClickableLabel*>(widget())->clicked();
        else
            QAccessibleWidget::doAction(action);
    }
};

// Qt's registry owns what this makes. Labels that only show text keep the
// label's own interface.
QAccessibleInterface* MakeClickableLabelAccessible(const QString& className, QObject* object) {
    auto* label = qobject_cast<ClickableLabel*>(object);
    if (className != QLatin1String("huegrab::ClickableLabel") || label == nullptr ||
        !label->KeyboardClickable())
        return nullptr;
    return new ClickableLabelAccessible(label);
}

} // namespace

ClickableLabel::ClickableLabel(QWidget* parent) : FilledLabel(parent) {}

void ClickableLabel::SetKeyboardClickable() {
    static const bool installed = [] {
        QAccessible::installFactory(MakeClickableLabelAccessible);
        return true;
    }();
    (void)installed;
    setFocusPolicy(Qt::TabFocus);
}

bool ClickableLabel::KeyboardClickable() const {
    return (focusPolicy() & Qt::TabFocus) != 0;
}

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

void ClickableLabel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier &&
        KeyboardClickable()) {
        if (!event->isAutoRepeat())
            spacePressed_ = true;
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ClickableLabel::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && spacePressed_) {
        spacePressed_ = false;
        event->accept();
        emit clicked();
        return;
    }
    QLabel::keyReleaseEvent(event);
}

void ClickableLabel::focusOutEvent(QFocusEvent* event) {
    spacePressed_ = false;
    QLabel::focusOutEvent(event);
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
    FilledLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // Inside the border, over the slot's colour, as a button shows it.
    QPainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = contentsRect();
    focus.backgroundColor = Filled() ? FillColor() : palette().color(backgroundRole());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

} // namespace huegrab
