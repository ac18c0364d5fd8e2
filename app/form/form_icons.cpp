// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/form_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace huegrab {

void PaintAppIcon(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    // Three colour squares, bottom-left.
    const QColor squares[] = {QColor(230, 40, 40), QColor(40, 170, 60), QColor(40, 90, 220)};
    for (int i = 0; i < 3; ++i) {
        const QRectF square(2 + i * 10, 30 + (i % 2) * 2, 14, 14);
        painter.setPen(QPen(QColor(40, 40, 40), 1.5));
        painter.setBrush(squares[i]);
        painter.drawRoundedRect(square, 2, 2);
    }
    // The eyedropper, from the top-right down to the squares.
    painter.save();
    painter.translate(36, 12);
    painter.rotate(45);
    painter.setPen(QPen(QColor(30, 30, 30), 2));
    painter.setBrush(QColor(70, 70, 80));
    painter.drawRoundedRect(QRectF(-6, -10, 12, 12), 3, 3); // bulb
    painter.setBrush(QColor(150, 150, 160));
    painter.drawRect(QRectF(-7, 2, 14, 4)); // collar
    painter.setBrush(QColor(220, 235, 250));
    QPainterPath tube;
    tube.moveTo(-4, 6);
    tube.lineTo(4, 6);
    tube.lineTo(2, 28);
    tube.lineTo(0, 32);
    tube.lineTo(-2, 28);
    tube.closeSubpath();
    painter.drawPath(tube);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(230, 40, 40)); // the colour drawn up
    painter.drawRect(QRectF(-2.5, 20, 5, 8));
    painter.restore();
}

QPixmap AppIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.scale(size / double{kAppIconCanvas}, size / double{kAppIconCanvas});
    PaintAppIcon(painter);
    return pixmap;
}

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addPixmap(AppIconPixmap(size));
    }
    return icon;
}

QPixmap CrosshairPixmap(qreal ratio) {
    const int device = qRound(kCrosshairSize * ratio);
    QPixmap pixmap(device, device);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.scale(ratio, ratio);
        const double c = kCrosshairCentre + 0.5; // the middle of the centre pixel
        // White outline under black strokes keeps it visible on any ground.
        for (const auto& [color, width] :
             {std::pair{QColor(Qt::white), 3.0}, std::pair{QColor(Qt::black), 1.0}}) {
            painter.setPen(QPen(color, width, Qt::SolidLine, Qt::FlatCap));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(QPointF(c, c), 9.5, 9.5);
            painter.drawLine(QPointF(c, 1), QPointF(c, c - 3));
            painter.drawLine(QPointF(c, c + 3), QPointF(c, 31));
            painter.drawLine(QPointF(1, c), QPointF(c - 3, c));
            painter.drawLine(QPointF(c + 3, c), QPointF(31, c));
        }
        painter.fillRect(QRectF(kCrosshairCentre, kCrosshairCentre, 1, 1), Qt::red);
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QCursor CrosshairCursor() {
    return QCursor(CrosshairPixmap(), kCrosshairCentre, kCrosshairCentre);
}

} // namespace huegrab
