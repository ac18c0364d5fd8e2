// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QMargins>
#include <QString>
#include <QWidget>
#include <memory>

class QStyleOptionFrame;

namespace huegrab {

struct ShapedLine;

// A read-only single-line field for the values the program writes on every
// tick. It looks and places its text exactly as a read-only QLineEdit does,
// and keeps what a user does with one - click to focus, select with the
// mouse, double-click, Ctrl+A, Ctrl+C, the Copy menu, the X11 primary
// selection - but a new text is shaped once, through a cache of the texts
// readouts repeat, rather than twice for every change.
class ReadoutField : public QWidget {
    Q_OBJECT
public:
    explicit ReadoutField(QWidget* parent = nullptr);
    ~ReadoutField() override;

    QString text() const { return text_; }
    // A text a little too wide for the field is drawn in a narrower font
    // (ShownFont) so that it shows whole; longer texts show their start and
    // are cut at the field's end. The same text again changes nothing, not
    // even the selection.
    void setText(const QString& text);
    // The font the text is drawn in: font(), or narrower for a text that
    // would not fit otherwise.
    QFont ShownFont() const { return shownFont_; }

    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment alignment);
    void setTextMargins(const QMargins& margins);

    bool hasSelectedText() const { return anchor_ != cursor_; }
    QString selectedText() const;
    int selectionStart() const;                    // -1 without a selection
    int cursorPosition() const { return cursor_; } // the moving end of the selection
    void setSelection(int start, int length);
    void selectAll();
    void deselect();
    // Puts the selected text on the clipboard.
    void copy() const;

    // The cell of one character, and the character under a point, in the
    // field's own coordinates.
    QRect CharacterRect(int offset) const;
    int PositionAt(const QPoint& point) const;

    static constexpr int kMaxLength = 32767; // what a line edit holds

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Where the text goes: the clip rectangle inside the frame and the
    // top-left corner of the line.
    struct Placement {
        QRect clip;
        QPoint origin;
    };
    Placement Place(const QStyleOptionFrame& option) const;
    // The rectangle inside the frame and margins that the text goes in.
    QRect TextRect(const QStyleOptionFrame& option) const;
    void Select(int anchor, int cursor);
    void OfferPrimarySelection() const;
    // Shapes the text anew, narrower where it would not fit room_.
    void Reshape();
    // Takes the width the text has anew, and reshapes when it changed.
    void MeasureRoom();

    QString text_;
    QFont shownFont_;
    int room_ = 0; // the width of the line inside frame and margins
    std::shared_ptr<const ShapedLine> line_;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
    QMargins margins_;
    int anchor_ = 0; // the selection runs from anchor_ to cursor_
    int cursor_ = 0;
    bool selecting_ = false;
    // Where and until when (event time, ms) a press is a double click's
    // third click, which keeps the whole text selected.
    QPoint thirdClickAt_;
    quint64 thirdClickUntil_ = 0;
    mutable int scroll_ = 0; // how far a text too long for the field is scrolled
};

} // namespace huegrab
