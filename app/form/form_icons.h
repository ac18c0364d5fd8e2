// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

class QPainter;

namespace huegrab {

// The window's icon, drawn in code: an eyedropper over three colour
// squares, at 16, 32 and 48 pixels.
QIcon AppIcon();
// One size of it, for tests and tools.
QPixmap AppIconPixmap(int size);
// Draws it on a 48 x 48 unit canvas; scale the painter for other sizes. The
// icon export tool also paints it into an SVG file with this.
inline constexpr int kAppIconCanvas = 48;
void PaintAppIcon(QPainter& painter);

// The 32 x 32 crosshair: a ring with a cross, black with a white outline on
// transparent ground, its centre at pixel (15, 15). `ratio` is the device
// pixel ratio to draw it for.
inline constexpr int kCrosshairSize = 32;
inline constexpr int kCrosshairCentre = 15;
QPixmap CrosshairPixmap(qreal ratio = 1.0);
// The crosshair as a mouse pointer with its hot spot at the centre.
QCursor CrosshairCursor();

} // namespace huegrab
