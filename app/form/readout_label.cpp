#include "app/form/readout_label.h"

#include "app/form/form_style.h"
#include "app/form/readout_field_accessible.h"
#include "app/form/shaped_line.h"

#include <QAccessible>
#include <QEvent>
#include <QPainter>
#include <QPen>
#include <QStyle>
#include <QTextLine>

namespace huegrab {

ReadoutLabel::ReadoutLabel(QWidget* parent) : QWidget(parent) {
    InstallReadoutAccessibility();
}

ReadoutLabel::~ReadoutLabel() = default;

void ReadoutLabel::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    line_.reset(); // shaped when it is next drawn
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent renamed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
}

void ReadoutLabel::setAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

bool ReadoutLabel::DrawsFromCache() const {
    // The style draws what a cached line would place differently: several
    // lines, tabs and other control characters, right-to-left text, right
    // alignment, text not centred in the middle, and disabled text, which
    // some styles etch.
    if (text_.isEmpty() || !isEnabled() || text_.isRightToLeft())
        return false;
    const Qt::Alignment horizontal = alignment_ & Qt::AlignHorizontal_Mask;
    if ((alignment_ & Qt::AlignVertical_Mask) != Qt::AlignVCenter ||
        (horizontal != Qt::AlignLeft && horizontal != Qt::AlignHCenter))
        return false;
    for (const QChar c : text_) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter)
            return false;
    }
    return true;
}

void ReadoutLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect area = contentsRect();
    if (!DrawsFromCache()) {
        // As a plain-text label draws itself, tabs expanded.
        const bool rightToLeft = text_.isRightToLeft();
        const int flags = static_cast<int>(QStyle::visualAlignment(
                              rightToLeft ? Qt::RightToLeft : Qt::LeftToRight, alignment_)) |
                          Qt::TextExpandTabs |
                          (rightToLeft ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight);
        style()->drawItemText(&painter, area, flags, palette(), isEnabled(), text_,
                              foregroundRole());
        return;
    }
    // The raw position is a new text nearly every time (x and y together):
    // shaped for the label alone, it leaves the readouts' cache to theirs.
    if (!line_)
        line_ = ShapeLine(font(), text_);
    // The style's placement: the ink centred, the line drawn from the top,
    // centred on its advance where the label centres its text.
    const QRect textRect = InkCentredTextRect(font(), area, 1);
    qreal x = textRect.x();
    if (alignment_ & Qt::AlignHCenter)
        x += (textRect.width() - line_->layout.lineAt(0).horizontalAdvance()) / 2;
    painter.setPen(QPen(palette().brush(foregroundRole()), 1));
    line_->layout.draw(&painter, QPointF(x, textRect.y()));
}

void ReadoutLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        line_.reset();
        update();
    }
    QWidget::changeEvent(event);
}

} // namespace huegrab
