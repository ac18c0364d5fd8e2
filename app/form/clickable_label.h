#pragma once

#include "app/form/filled_label.h"

namespace huegrab {

// A label that reports a click: the left button pressed and released over
// it. The colour slots, the cursor slots and the contact line are labels
// that act on a click. The second press of a double click is no click of
// its own: a double click acts once.
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

private:
    bool pressed_ = false;
};

} // namespace huegrab
