// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QPixmap>
#include <QWidget>

namespace huegrab {

// An image control that keeps an icon and shows nothing itself: the window
// panel takes from it the crosshair picture and the pointer used while the
// crosshair is dragged. It lets the mouse through to what lies under it.
class IconImage : public QWidget {
    Q_OBJECT
public:
    explicit IconImage(QWidget* parent = nullptr);

    void SetIcon(const QPixmap& icon, const QCursor& pointer);
    const QPixmap& Icon() const { return icon_; }
    const QCursor& Pointer() const { return pointer_; }

private:
    QPixmap icon_;
    QCursor pointer_;
};

} // namespace huegrab
