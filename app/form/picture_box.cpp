// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/picture_box.h"

#include "app/form/form_colors.h"

#include <QPainter>
#include <QVariant>

namespace huegrab {
namespace {

constexpr int kBorder = 1;

} // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

QSize PictureBox::CanvasSize() const {
    EnsureCanvas();
    return canvas_.size();
}

void PictureBox::EnsureCanvas() const {
    const qreal ratio = devicePixelRatioF();
    const QSize inside = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder).size();
    const QSize wanted(qMax(0, qRound(inside.width() * ratio)),
                       qMax(0, qRound(inside.height() * ratio)));
    if (!canvas_.isNull() && canvas_.size() == wanted && canvas_.devicePixelRatio() == ratio) {
        return;
    }
    QImage fresh(wanted, QImage::Format_ARGB32_Premultiplied);
    fresh.fill(Qt::transparent);
    if (!canvas_.isNull()) {
        // Pixel for pixel: fresh has no pixel ratio yet, so the old canvas
        // must not bring its own, or it is drawn shrunk.
        QImage old = canvas_;
        old.setDevicePixelRatio(1.0);
        QPainter painter(&fresh);
        painter.drawImage(QPoint(0, 0), old);
    }
    fresh.setDevicePixelRatio(ratio);
    canvas_ = fresh;
}

void PictureBox::Clear() {
    EnsureCanvas();
    canvas_.fill(Qt::transparent);
    update();
}

void PictureBox::SetPixel(int x, int y, ColorValue value) {
    EnsureCanvas();
    if (!canvas_.valid(x, y)) {
        return;
    }
    canvas_.setPixelColor(x, y, ToQColor(value));
    update();
}

void PictureBox::DrawImage(int x, int y, const QImage& image) {
    EnsureCanvas();
    QImage source = image;
    source.setDevicePixelRatio(1.0); // pixel for pixel
    {
        QPainter painter(&canvas_);
        painter.scale(1.0 / canvas_.devicePixelRatio(), 1.0 / canvas_.devicePixelRatio());
        painter.drawImage(QPoint(x, y), source);
    }
    update();
}

QImage PictureBox::Snapshot() const {
    EnsureCanvas();
    QImage shown(canvas_.size(), QImage::Format_RGB32);
    shown.setDevicePixelRatio(canvas_.devicePixelRatio());
    // The background is the palette's Window colour, which SetBackColor sets.
    shown.fill(palette().color(QPalette::Window));
    QPainter painter(&shown);
    if (!picture_.isNull()) {
        painter.drawPixmap(QPoint(0, 0), picture_);
    }
    painter.drawImage(QPoint(0, 0), canvas_);
    return shown;
}

ColorValue PictureBox::Pixel(int x, int y) const {
    const QImage shown = Snapshot();
    if (!shown.valid(x, y)) {
        return -1;
    }
    return FromQColor(shown.pixelColor(x, y));
}

void PictureBox::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PictureBox::ClearPicture() {
    picture_ = QPixmap();
    update();
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    EnsureCanvas();
    QPainter painter(this);
    // The background comes from autoFillBackground (SetBackColor); the border:
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QPoint inside(kBorder, kBorder);
    painter.setClipRect(rect().adjusted(kBorder, kBorder, -kBorder, -kBorder));
    if (!picture_.isNull()) {
        painter.drawPixmap(inside, picture_);
    }
    painter.drawImage(inside, canvas_);
}

} // namespace huegrab
