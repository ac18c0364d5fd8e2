// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/readout_field.h"

#include "app/form/readout_field_accessible.h"
#include "app/form/shaped_line.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLine>
#include <algorithm>

namespace huegrab {
namespace {

// The free space a line edit keeps beside and above its line.
constexpr int kHorizontalMargin = 2;
// How narrow a text may be drawn to fit its field, in percent of its width:
// six wide hexadecimal digits need about 90 in the hexadecimal fields, 80
// in a wide font (DejaVu Sans).
// Texts that need more are cut instead.
constexpr int kLeastStretch = 75;

QStyleOptionFrame PanelOption(const QWidget* field) {
    QStyleOptionFrame option;
    option.initFrom(field);
    option.rect = field->contentsRect();
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken | QStyle::State_ReadOnly;
    option.features = QStyleOptionFrame::None;
    return option;
}

// A menu line with its shortcut, as the line edit's own menu shows it.
QString MenuText(const char* text, QKeySequence::StandardKey key) {
    QString line = QCoreApplication::translate("QLineEdit", text);
    const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
    if (!shortcut.isEmpty())
        line += QLatin1Char('\t') + shortcut;
    return line;
}

} // namespace

ReadoutField::ReadoutField(QWidget* parent) : QWidget(parent) {
    InstallReadoutAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    setBackgroundRole(QPalette::Base); // a field's fill, as in a line edit
    // It fills its background itself, in the painter that draws the rest:
    // Qt would open a second one for the fill alone.
    setAttribute(Qt::WA_OpaquePaintEvent);
    Reshape();
    MeasureRoom();
}

ReadoutField::~ReadoutField() = default;

void ReadoutField::setText(const QString& text) {
    const QString cut = text.size() > kMaxLength ? text.left(kMaxLength) : text;
    if (cut == text_)
        return;
    const QString old = std::exchange(text_, cut);
    // A text too long for the field shows from its start: its leading
    // digits say what the value is, its tail alone would read as another.
    anchor_ = cursor_ = 0;
    Reshape();
    update();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent changed(this, 0, old, text_);
        QAccessible::updateAccessibility(&changed);
    }
}

void ReadoutField::setAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

void ReadoutField::setTextMargins(const QMargins& margins) {
    margins_ = margins;
    MeasureRoom();
    update();
}

void ReadoutField::MeasureRoom() {
    // The width Place gives the line.
    const int room = TextRect(PanelOption(this)).width() - 2 * kHorizontalMargin;
    if (room != room_) {
        room_ = room;
        Reshape();
    }
}

QString ReadoutField::selectedText() const {
    const int start = std::min(anchor_, cursor_);
    return text_.mid(start, std::abs(cursor_ - anchor_));
}

int ReadoutField::selectionStart() const {
    return hasSelectedText() ? std::min(anchor_, cursor_) : -1;
}

void ReadoutField::setSelection(int start, int length) {
    // Each end kept to the text on its own, in 64 bits: a start before the
    // text must not move the other end.
    const qint64 size = text_.size();
    const qint64 end = qint64{start} + length;
    Select(static_cast<int>(std::clamp<qint64>(start, 0, size)),
           static_cast<int>(std::clamp<qint64>(end, 0, size)));
}

void ReadoutField::selectAll() {
    Select(0, static_cast<int>(text_.size()));
}

void ReadoutField::deselect() {
    Select(cursor_, cursor_);
}

void ReadoutField::copy() const {
    if (hasSelectedText())
        QGuiApplication::clipboard()->setText(selectedText(), QClipboard::Clipboard);
}

QRect ReadoutField::TextRect(const QStyleOptionFrame& option) const {
    return style()
        ->subElementRect(QStyle::SE_LineEditContents, &option, this)
        .marginsRemoved(margins_);
}

ReadoutField::Placement ReadoutField::Place(const QStyleOptionFrame& option) const {
    const QRect contents = TextRect(option);
    const QFontMetrics metrics(font());
    const int lineHeight = std::max(line_->boundingHeight, metrics.height());
    // The line box sits in the middle, or one pixel in from the top or the
    // bottom; glyphs from a taller fallback font keep the baseline where the
    // field's own font puts it.
    constexpr int kVerticalMargin = 1;
    int top = contents.y() + (contents.height() - lineHeight + 1) / 2;
    if (alignment_ & Qt::AlignTop)
        top = contents.y() + kVerticalMargin;
    else if (alignment_ & Qt::AlignBottom)
        top = contents.y() + contents.height() - lineHeight - kVerticalMargin;
    const QRect lineRect(contents.x() + kHorizontalMargin, top,
                         contents.width() - 2 * kHorizontalMargin, lineHeight);

    const Qt::LayoutDirection direction = text_.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    const Qt::Alignment horizontal =
        QStyle::visualAlignment(direction, alignment_) & Qt::AlignHorizontal_Mask;
    const int widthUsed = line_->naturalWidth + 1;
    int scroll = 0;
    if (widthUsed <= lineRect.width()) {
        if (horizontal & Qt::AlignRight)
            scroll = widthUsed - lineRect.width() + 1;
        else if (horizontal & Qt::AlignHCenter)
            scroll = (widthUsed - lineRect.width()) / 2;
    } else {
        // Too long to show whole: the text scrolls as little as keeps the end
        // of the selection in view, as a line edit keeps its cursor in view.
        const int cursorX = qRound(line_->layout.lineAt(0).cursorToX(cursor_));
        scroll = scroll_;
        if (cursorX - scroll >= lineRect.width())
            scroll = cursorX - lineRect.width() + 1;
        else if (cursorX - scroll < 0 && scroll < widthUsed)
            scroll = cursorX;
        else if (widthUsed - scroll < lineRect.width())
            scroll = widthUsed - lineRect.width() + 1;
        else
            scroll = std::max(0, scroll);
    }
    scroll_ = scroll;
    return {contents, lineRect.topLeft() - QPoint(scroll, line_->ascent - metrics.ascent())};
}

void ReadoutField::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().brush(backgroundRole()));
    const QStyleOptionFrame option = PanelOption(this);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    const Placement place = Place(option);
    painter.setClipRect(place.clip);
    const QPalette colors = palette();
    painter.setPen(colors.text().color());
    QList<QTextLayout::FormatRange> selections;
    if (hasSelectedText()) {
        QTextLayout::FormatRange selected;
        selected.start = std::min(anchor_, cursor_);
        selected.length = std::abs(cursor_ - anchor_);
        selected.format.setBackground(colors.brush(QPalette::Highlight));
        selected.format.setForeground(colors.brush(QPalette::HighlightedText));
        selections.append(selected);
    }
    line_->layout.draw(&painter, place.origin, selections, place.clip);
}

int ReadoutField::PositionAt(const QPoint& point) const {
    const QTextLine line = line_->layout.lineAt(0);
    return line.xToCursor(point.x() - Place(PanelOption(this)).origin.x(),
                          QTextLine::CursorBetweenCharacters);
}

QRect ReadoutField::CharacterRect(int offset) const {
    const QTextLine line = line_->layout.lineAt(0);
    const int size = static_cast<int>(text_.size());
    const int from = std::clamp(offset, 0, size);
    const Placement place = Place(PanelOption(this));
    const int left = qRound(line.cursorToX(from));
    const int right = qRound(line.cursorToX(std::min(from + 1, size)));
    return QRect(place.origin.x() + std::min(left, right), place.clip.top(), std::abs(right - left),
                 place.clip.height());
}

void ReadoutField::Select(int anchor, int cursor) {
    if (anchor == anchor_ && cursor == cursor_)
        return;
    const bool had = hasSelectedText();
    anchor_ = anchor;
    cursor_ = cursor;
    if (had || hasSelectedText())
        update();
    if (QAccessible::isActive()) {
        QAccessibleTextSelectionEvent selected(this, std::min(anchor_, cursor_),
                                               std::max(anchor_, cursor_));
        selected.setCursorPosition(cursor_);
        QAccessible::updateAccessibility(&selected);
    }
}

void ReadoutField::OfferPrimarySelection() const {
    // X11's middle-click paste: what the mouse selected.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasSelectedText() && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void ReadoutField::Reshape() {
    shownFont_ = font();
    line_ = CachedShapedLine(shownFont_, text_);
    const int room = room_;
    const int needed = line_->naturalWidth + 1;
    if (needed <= room || room <= 0 || 100 * room < kLeastStretch * needed)
        return;
    // Narrower step by step from the stretch that ought to fit: rounding
    // of glyph advances can make the first try a pixel too wide.
    for (int stretch = 100 * room / needed; stretch >= kLeastStretch; --stretch) {
        QFont narrow = font();
        narrow.setStretch(stretch);
        std::shared_ptr<const ShapedLine> line = CachedShapedLine(narrow, text_);
        if (line->naturalWidth + 1 <= room) {
            shownFont_ = narrow;
            line_ = std::move(line);
            return;
        }
    }
}

void ReadoutField::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    if (event->timestamp() < thirdClickUntil_ &&
        (point - thirdClickAt_).manhattanLength() < QApplication::startDragDistance()) {
        thirdClickUntil_ = 0;
        selectAll();
        OfferPrimarySelection();
        return;
    }
    const int at = PositionAt(point);
    Select(event->modifiers() & Qt::ShiftModifier ? anchor_ : at, at);
    selecting_ = true;
}

void ReadoutField::mouseMoveEvent(QMouseEvent* event) {
    if (selecting_ && (event->buttons() & Qt::LeftButton))
        Select(anchor_, PositionAt(event->position().toPoint()));
}

void ReadoutField::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !selecting_)
        return;
    selecting_ = false;
    OfferPrimarySelection();
}

void ReadoutField::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // A readout holds one value: a double click takes all of it, and a
    // third click keeps it so.
    selectAll();
    OfferPrimarySelection();
    thirdClickAt_ = event->position().toPoint();
    thirdClickUntil_ =
        event->timestamp() + static_cast<quint64>(QApplication::doubleClickInterval());
}

bool ReadoutField::event(QEvent* event) {
    // Copy and Select All belong to the focused field, before any shortcut
    // of the window with the same keys.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key == QKeySequence::Copy || key == QKeySequence::SelectAll) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void ReadoutField::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::SelectAll) {
        selectAll();
        OfferPrimarySelection();
    } else if (event == QKeySequence::Copy) {
        copy();
    } else {
        event->ignore();
    }
}

void ReadoutField::focusInEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
         reason == Qt::ShortcutFocusReason) &&
        !hasSelectedText())
        selectAll();
    update(); // the frame shows the focus
    QWidget::focusInEvent(event);
}

void ReadoutField::focusOutEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        deselect();
    update();
    QWidget::focusOutEvent(event);
}

void ReadoutField::contextMenuEvent(QContextMenuEvent* event) {
    auto* menu = new QMenu(this); // deleted when it closes
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* copyAction = menu->addAction(MenuText("&Copy", QKeySequence::Copy));
    copyAction->setEnabled(hasSelectedText());
    connect(copyAction, &QAction::triggered, this, &ReadoutField::copy);
    menu->addSeparator();
    QAction* all = menu->addAction(MenuText("Select All", QKeySequence::SelectAll));
    all->setEnabled(!text_.isEmpty() && selectedText().size() != text_.size());
    connect(all, &QAction::triggered, this, &ReadoutField::selectAll);
    menu->popup(event->globalPos());
}

void ReadoutField::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::FontChange:
        Reshape();
        update();
        break;
    case QEvent::StyleChange:
        MeasureRoom(); // the frame may leave another width
        update();
        break;
    case QEvent::ActivationChange:
    case QEvent::EnabledChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void ReadoutField::resizeEvent(QResizeEvent* event) {
    MeasureRoom();
    QWidget::resizeEvent(event);
}

} // namespace huegrab
