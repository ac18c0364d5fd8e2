// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/readout_field_accessible.h"

#include "app/form/readout_field.h"
#include "app/form/readout_label.h"

#include <QAccessibleWidget>
#include <algorithm>

namespace huegrab {
namespace {

class ReadoutAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ReadoutAccessible(ReadoutField* field)
        : QAccessibleWidget(field, QAccessible::EditableText) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return Field()->text();
        return QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.selectableText = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // Text interface: one selection at most; the cursor is the selection's end.
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index == 0 && Field()->hasSelectedText()) {
            *start = Field()->selectionStart();
            *end = *start + static_cast<int>(Field()->selectedText().size());
        }
    }
    int selectionCount() const override { return Field()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0)
            Field()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0) {
            const int from = Clamped(start);
            Field()->setSelection(from, Clamped(end) - from);
        }
    }
    int cursorPosition() const override { return Field()->cursorPosition(); }
    void setCursorPosition(int position) override { Field()->setSelection(position, 0); }
    QString text(int start, int end) const override {
        if (start > end)
            return {};
        const int from = Clamped(start);
        return Field()->text().mid(from, Clamped(end) - from);
    }
    int characterCount() const override { return static_cast<int>(Field()->text().size()); }
    QRect characterRect(int offset) const override {
        if (offset < 0 || offset >= characterCount())
            return {}; // no character there
        const QRect cell = Field()->CharacterRect(offset);
        return QRect(Field()->mapToGlobal(cell.topLeft()), cell.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = Field()->mapFromGlobal(point);
        return Field()->rect().contains(local) ? Field()->PositionAt(local) : -1;
    }
    void scrollToSubstring(int /*start*/, int /*end*/) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }
    // -2 stands for the caret. Qt's own search for the word or sentence at
    // the very end of a text never returns: nothing lies there, as for a
    // character.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                         int* end) const override {
        offset = AtCaret(offset);
        if ((offset == -1 || offset == characterCount()) &&
            (type == QAccessible::WordBoundary || type == QAccessible::SentenceBoundary)) {
            *start = *end = -1;
            return {};
        }
        return QAccessibleTextInterface::textAtOffset(offset, type, start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                             int* end) const override {
        return QAccessibleTextInterface::textBeforeOffset(AtCaret(offset), type, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                            int* end) const override {
        return QAccessibleTextInterface::textAfterOffset(AtCaret(offset), type, start, end);
    }

private:
    ReadoutField* Field() const { return static_cast<ReadoutField*>(widget()); }
    // Offsets come from other programs and may be any int: kept to the text
    // before any difference is taken, so that none overflows.
    int Clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }
    int AtCaret(int offset) const { return offset == -2 ? cursorPosition() : offset; }
};

// A readout label reads as a label: static text named by what it shows.
class ReadoutLabelAccessible final : public QAccessibleWidget {
public:
    explicit ReadoutLabelAccessible(ReadoutLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override {
        const QString own = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && own.isEmpty())
            return static_cast<ReadoutLabel*>(widget())->text();
        return own;
    }
};

// Qt's registry owns what these make.
QAccessibleInterface* MakeReadoutAccessible(const QString& className, QObject* object) {
    if (!object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("huegrab::ReadoutField"))
        return new ReadoutAccessible(static_cast<ReadoutField*>(object));
    if (className == QLatin1String("huegrab::ReadoutLabel"))
        return new ReadoutLabelAccessible(static_cast<ReadoutLabel*>(object));
    return nullptr;
}

} // namespace

void InstallReadoutAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(MakeReadoutAccessible);
        return true;
    }();
    (void)installed;
}

} // namespace huegrab
