// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/readout_label.h"

#include "app/form/item_text.h"
#include "app/form/readout_field_accessible.h"
#include "app/form/shaped_line.h"

#include <QAccessible>
#include <QEvent>
#include <QPainter>
#include <QStyle>

namespace huegrab {

ReadoutLabel::ReadoutLabel(QWidget* parent) : QWidget(parent) {
    InstallReadoutAccessibility();
    // Opaque, and filled in the painter that draws the text: a new text
    // repaints the label alone, not what lies beneath, in one painter.
    setAttribute(Qt::WA_OpaquePaintEvent);
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

void ReadoutLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().brush(backgroundRole()));
    const QRect area = contentsRect();
    if (!IsPlainItemText(text_, alignment_, isEnabled())) {
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
    DrawPlainItemText(painter, area, alignment_, *line_, palette().brush(foregroundRole()));
}

void ReadoutLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        line_.reset();
        update();
    }
    QWidget::changeEvent(event);
}

} // namespace huegrab
