// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/item_text.h"

#include "app/form/form_style.h"
#include "app/form/shaped_line.h"

#include <QPainter>
#include <QPen>
#include <QTextLine>

namespace huegrab {

bool IsPlainItemText(const QString& text, Qt::Alignment alignment, bool enabled) {
    // The style draws what a shaped line would place differently: several
    // lines, tabs and other control characters, right-to-left text, right
    // alignment, text not centred in the middle, and disabled text, which
    // some styles etch.
    if (text.isEmpty() || !enabled || text.isRightToLeft())
        return false;
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if ((alignment & Qt::AlignVertical_Mask) != Qt::AlignVCenter ||
        (horizontal != Qt::AlignLeft && horizontal != Qt::AlignHCenter))
        return false;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter)
            return false;
    }
    return true;
}

void DrawPlainItemText(QPainter& painter, const QRect& area, Qt::Alignment alignment,
                       const ShapedLine& line, const QBrush& brush) {
    // The style's placement: the ink centred, the line drawn from the top,
    // centred on its advance where the text is centred.
    const QRect textRect = InkCentredTextRect(painter.font(), area, 1);
    qreal x = textRect.x();
    if (alignment & Qt::AlignHCenter)
        x += (textRect.width() - line.layout.lineAt(0).horizontalAdvance()) / 2;
    painter.setPen(QPen(brush, 1));
    line.layout.draw(&painter, QPointF(x, textRect.y()));
}

} // namespace huegrab
