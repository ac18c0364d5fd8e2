// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QGroupBox>

namespace huegrab {

// A frame drawn the same way under every style: an etched rectangle whose
// top edge runs through the middle of the caption line, the caption in a
// colour of its own that the contents do not inherit. A borderless frame
// draws nothing and only groups its contents (the window panel's pages).
// Frames without caption keep the caption line free for a check box.
class FrameBox : public QGroupBox {
    Q_OBJECT
public:
    explicit FrameBox(QWidget* parent = nullptr);

    void SetCaptionColor(const QColor& color);
    QColor CaptionColor() const { return captionColor_; }
    void SetBorderless(bool borderless);
    bool Borderless() const { return borderless_; }

    // Distance from the frame's top to its top edge line, in pixels.
    int EdgeTop() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor captionColor_;
    bool borderless_ = false;
};

} // namespace huegrab
