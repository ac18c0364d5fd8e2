// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/centre_marker.h"

namespace huegrab {

CentreMarker::CentreMarker(QWidget* parent) : QLabel(parent) {}

void CentreMarker::paintEvent(QPaintEvent* /*event*/) {}

} // namespace huegrab
