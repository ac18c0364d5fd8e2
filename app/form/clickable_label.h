// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form/filled_label.h"

namespace huegrab {

// A label that reports a click: the left button pressed and released over
// it. The colour slots, the cursor slots and the contact line are labels
// that act on a click. The second press of a double click is no click of
// its own: a double click acts once. A quick press on a neighbour after a
// click is a click of that neighbour.
//
// One that acts (SetKeyboardClickable) is also a button to the keyboard and
// to screen readers: Tab reaches it, Space clicks it, and it shows the focus.
class ClickableLabel : public FilledLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget* parent = nullptr);

    // Only Tab gives it the focus: a click on it leaves the focus where it
    // was (on the start/stop switch, whose Space must stay its own). Call it
    // before giving the label a text: Qt settles on the label's interface
    // for screen readers as soon as its text is set.
    void SetKeyboardClickable();
    bool KeyboardClickable() const;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
    // A left press went down here since the pointer last came in.
    bool pressedSinceEntering_ = false;
    bool spacePressed_ = false; // clicks when released, as on a button
};

} // namespace huegrab
