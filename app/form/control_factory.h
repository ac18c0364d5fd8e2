// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form/layout_table.h"

#include <QRect>
#include <QtGlobal>

class QWidget;

namespace huegrab {

// Builds the widget a layout row describes, as a child of `parent`: its
// name and index, place and size in logical pixels, caption, tooltip,
// colours and start state.
QWidget* CreateControl(const ControlRow& row, QWidget* parent);

// The row's rectangle in logical pixels.
QRect PixelRect(const TwipsRect& rect);

// The names of the method list, in index order (translated when shown).
inline constexpr const char* kCursorMethodNames[] = {QT_TRANSLATE_NOOP("Form1", "默认方式"),
                                                     QT_TRANSLATE_NOOP("Form1", "方式一"),
                                                     QT_TRANSLATE_NOOP("Form1", "方式二(New)!")};

} // namespace huegrab
