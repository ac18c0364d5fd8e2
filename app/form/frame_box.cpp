// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/frame_box.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace huegrab {
namespace {

constexpr int kCaptionLeft = 6; // pixels from the frame's left edge to the caption
constexpr int kCaptionGap = 2;  // free space left and right of the caption

} // namespace

FrameBox::FrameBox(QWidget* parent) : QGroupBox(parent), captionColor_(Qt::black) {
    setFlat(true);
}

void FrameBox::SetCaptionColor(const QColor& color) {
    if (color != captionColor_) {
        captionColor_ = color;
        update();
    }
}

void FrameBox::SetBorderless(bool borderless) {
    if (borderless != borderless_) {
        borderless_ = borderless;
        update();
    }
}

int FrameBox::EdgeTop() const {
    return QFontMetrics(font()).capHeight() / 2 + 3;
}

void FrameBox::paintEvent(QPaintEvent* /*event*/) {
    if (borderless_) {
        return;
    }
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int edge = EdgeTop();
    const QRect box = rect().adjusted(0, edge, -1, -1);

    // Etched edge: a dark line with a light one just inside it.
    const QColor dark = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    painter.setPen(light);
    painter.drawRect(box.translated(1, 1).adjusted(0, 0, -1, -1));
    painter.setPen(dark);
    painter.drawRect(box.adjusted(0, 0, -1, -1));

    const QString caption = title();
    if (caption.isEmpty()) {
        return;
    }
    const int width = metrics.horizontalAdvance(caption);
    const QRect captionRect(kCaptionLeft, 0, width + 2 * kCaptionGap, 2 * edge + 1);
    painter.fillRect(captionRect, palette().color(QPalette::Window));
    QPalette captionPalette = palette();
    captionPalette.setColor(QPalette::WindowText, captionColor_);
    style()->drawItemText(&painter, captionRect, Qt::AlignCenter, captionPalette, isEnabled(),
                          caption, QPalette::WindowText);
}

} // namespace huegrab
