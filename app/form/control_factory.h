#pragma once

#include "app/form/layout_table.h"

#include <QRect>

class QWidget;

namespace huegrab {

// Builds the widget a layout row describes, as a child of `parent`: its
// name and index, place and size in logical pixels, caption, tooltip,
// colours and start state. Not for ControlKind::Timer (no widget).
QWidget* CreateControl(const ControlSpec& row, QWidget* parent);

// The row's rectangle in logical pixels.
QRect PixelRect(const TwipsRect& rect);

// The names of the method list, in index order.
inline constexpr const char* kCursorMethodNames[] = {"默认方式", "方式一", "方式二(New)!"};

} // namespace huegrab
