#pragma once

#include "app/form/filled_label.h"

namespace huegrab {

// A label that reports a click: the left button pressed and released over
// it. The colour slots, the cursor slots and the contact line are labels
// that act on a click. The second press of a double click is no click of
// its own: a double click acts once. A quick press on a neighbour after a
// click is a click of that neighbour.
class ClickableLabel : public FilledLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool pressed_ = false;
    // A left press went down here since the pointer last came in.
    bool pressedSinceEntering_ = false;
};

} // namespace huegrab
