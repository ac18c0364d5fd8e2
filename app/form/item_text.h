// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <Qt>

class QBrush;
class QPainter;
class QRect;

namespace huegrab {

struct ShapedLine;

// Item texts (label captions) the window's style would place exactly where
// a shaped line of the same text goes: one line, no control characters,
// left to right, enabled, left-aligned or centred, in the middle. Others
// are drawn through the style.
bool IsPlainItemText(const QString& text, Qt::Alignment alignment, bool enabled);

// Draws such a text, shaped in the painter's font, where the style would
// put it in `area`, in `brush`.
void DrawPlainItemText(QPainter& painter, const QRect& area, Qt::Alignment alignment,
                       const ShapedLine& line, const QBrush& brush);

} // namespace huegrab
