// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/icon_image.h"

namespace huegrab {

IconImage::IconImage(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void IconImage::SetIcon(const QPixmap& icon, const QCursor& pointer) {
    icon_ = icon;
    pointer_ = pointer;
}

} // namespace huegrab
