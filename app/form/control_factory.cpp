// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/control_factory.h"

#include "app/form/centre_marker.h"
#include "app/form/clickable_label.h"
#include "app/form/form_colors.h"
#include "app/form/form_style.h"
#include "app/form/frame_box.h"
#include "app/form/icon_image.h"
#include "app/form/magnifier_grid.h"
#include "app/form/picture_box.h"
#include "app/form/readout_field.h"
#include "app/form/readout_label.h"
#include "app/form/translation.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QString>
#include <QTextDocument>
#include <QVariant>
#include <string>

namespace huegrab {
namespace {

// Check boxes and option buttons take a click anywhere on their place, the
// free space beside a short caption included; Qt's own take it only on the
// box and the caption.
template <typename Button> class WholeAreaButton : public Button {
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

// A command button that Enter (and the keypad's Enter) presses as Space
// does, once per press: Qt's push button takes Enter only as a dialog's
// default button.
class CommandButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (!event->isAutoRepeat())
                click();
            event->accept();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A caption or tooltip in the window's language: the table's own text when
// no translation is installed or it has none.
QString Translated(std::string_view utf8) {
    if (utf8.empty())
        return {};
    return QCoreApplication::translate(kFormContext, std::string(utf8).c_str());
}

bool Has(const ControlRow& row, ControlFlag flag) {
    return (row.flags & flag) != 0;
}

QWidget* CreateFrame(const ControlRow& row, QWidget* parent) {
    auto* frame = new FrameBox(parent);
    frame->setTitle(Translated(row.caption));
    frame->SetBorderless(Has(row, kBorderless));
    // Frames stand on the window's plain colour and fill it in themselves:
    // the window's opaque region, which Qt rebuilds whenever a control takes a
    // new palette, is then a dozen frames rather than every control inside.
    frame->setAutoFillBackground(true);
    return frame;
}

QWidget* CreateLabel(const ControlRow& row, QWidget* parent) {
    auto* label = new ClickableLabel(parent);
    // The labels that act on a click (slots, contact line) show the hand.
    if (Has(row, kHandPointer))
        label->SetKeyboardClickable();
    label->setTextFormat(Qt::PlainText);
    label->setText(Translated(row.caption));
    label->setAlignment((Has(row, kCentred) ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    if (Has(row, kBordered)) {
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setLineWidth(1);
        label->setIndent(0);
    }
    return label;
}

// Fields show their text left-aligned, or centred where the row says so.
Qt::Alignment FieldAlignment(const ControlRow& row) {
    return (Has(row, kCentred) ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
}

QWidget* CreateTextBox(const ControlRow& row, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setText(Text(row.caption));
    if (row.maxLength > 0) {
        field->setMaxLength(row.maxLength);
    }
    field->setReadOnly(Has(row, kReadOnly));
    field->setAlignment(FieldAlignment(row));
    return field;
}

QWidget* CreateReadout(const ControlRow& row, QWidget* parent) {
    auto* field = new ReadoutField(parent);
    field->setText(Text(row.caption));
    field->setAlignment(FieldAlignment(row));
    return field;
}

QWidget* CreateMultiLineTextBox(const ControlRow& row, QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setPlainText(Text(row.caption));
    box->setReadOnly(Has(row, kReadOnly));
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->document()->setDocumentMargin(1);
    return box;
}

// Option buttons of one kind in one container form one exclusive group. (Qt's
// auto-exclusivity would reach into nested frames and join the mode buttons
// with the window panel's selectors.)
void JoinOptionGroup(QAbstractButton* button, const ControlRow& row, QWidget* parent) {
    const QString name = row.kind == ControlKind::OptionButton
                             ? QStringLiteral("optionGroup")
                             : QStringLiteral("optionButtonGroup");
    auto* group = parent->findChild<QButtonGroup*>(name, Qt::FindDirectChildrenOnly);
    if (group == nullptr) {
        group = new QButtonGroup(parent);
        group->setObjectName(name);
        group->setExclusive(true);
    }
    group->addButton(button, row.index);
}

QWidget* CreateButton(const ControlRow& row, QWidget* parent, bool checkable) {
    QPushButton* button = checkable ? new QPushButton(Translated(row.caption), parent)
                                    : new CommandButton(Translated(row.caption), parent);
    button->setAutoDefault(false);
    button->setCheckable(checkable);
    button->setChecked(checkable && Has(row, kChecked));
    return button;
}

QWidget* CreateComboBox(QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(false);
    for (const char* name : kCursorMethodNames) {
        combo->addItem(QCoreApplication::translate(kFormContext, name));
    }
    combo->setCurrentIndex(0);
    return combo;
}

QWidget* CreateWidget(const ControlRow& row, QWidget* parent) {
    switch (row.kind) {
    case ControlKind::Frame:
        return CreateFrame(row, parent);
    case ControlKind::Label:
        return CreateLabel(row, parent);
    case ControlKind::TextBox:
        return CreateTextBox(row, parent);
    case ControlKind::Readout:
        return CreateReadout(row, parent);
    case ControlKind::ReadoutLabel: {
        auto* label = new ReadoutLabel(parent);
        label->setText(Text(row.caption));
        return label;
    }
    case ControlKind::MultiLineTextBox:
        return CreateMultiLineTextBox(row, parent);
    case ControlKind::CheckBox: {
        auto* box = new WholeAreaButton<QCheckBox>(Translated(row.caption), parent);
        box->setChecked(Has(row, kChecked));
        // Standing on a frame's edge, it hides the edge behind its caption.
        box->setAutoFillBackground(Has(row, kCaptionPlace));
        return box;
    }
    case ControlKind::CheckBoxButton:
        return CreateButton(row, parent, true);
    case ControlKind::OptionButton: {
        auto* option = new WholeAreaButton<QRadioButton>(Translated(row.caption), parent);
        option->setChecked(Has(row, kChecked));
        JoinOptionGroup(option, row, parent);
        return option;
    }
    case ControlKind::OptionButtonAsPushButton: {
        auto* option = qobject_cast<QPushButton*>(CreateButton(row, parent, true));
        // Read as the option buttons they are, not as check boxes; the
        // group still decides which one is pressed.
        option->setAutoExclusive(true);
        JoinOptionGroup(option, row, parent);
        return option;
    }
    case ControlKind::CommandButton:
        return CreateButton(row, parent, false);
    case ControlKind::ListBox:
        return new QListWidget(parent);
    case ControlKind::ComboBox:
        return CreateComboBox(parent);
    case ControlKind::PictureBox:
        return new PictureBox(parent);
    case ControlKind::Image:
        return new IconImage(parent);
    case ControlKind::Shape:
        return new QFrame(parent);
    case ControlKind::Magnifier:
        return new MagnifierGrid(parent);
    case ControlKind::CentreMarker:
        return new CentreMarker(parent);
    }
    return nullptr;
}

} // namespace

QRect PixelRect(const TwipsRect& rect) {
    return QRect(TwipsToPixels(rect.left), TwipsToPixels(rect.top), TwipsToPixels(rect.width),
                 TwipsToPixels(rect.height));
}

QWidget* CreateControl(const ControlRow& row, QWidget* parent) {
    QWidget* widget = CreateWidget(row, parent);
    if (widget == nullptr) {
        return nullptr;
    }
    widget->setObjectName(Text(row.name));
    if (row.index >= 0) {
        widget->setProperty("index", row.index);
    }
    widget->setStyle(SharedFormStyle());
    widget->setGeometry(PixelRect(row.rect));
    if (!row.tooltip.empty()) {
        widget->setToolTip(Translated(row.tooltip));
    }
    if (row.foreColor) {
        SetForeColor(widget, *row.foreColor);
    }
    if (row.backColor) {
        SetBackColor(widget, *row.backColor);
    }
    if (Has(row, kHandPointer)) {
        widget->setCursor(Qt::PointingHandCursor);
    }
    widget->setEnabled(!Has(row, kDisabled));
    widget->setHidden(Has(row, kHidden));
    if (row.kind == ControlKind::Label && !row.backColor && row.parent.name.empty()) {
        // A label on the window itself fills in the window's own colour, so
        // that a new text (the raw position, every tick) repaints the label
        // alone rather than the window beneath it with all its controls.
        widget->setAutoFillBackground(true);
    }
    if (row.kind == ControlKind::CentreMarker) {
        // Keeps its name, place and colour, but the magnifier draws the
        // marker: shown, the label would take four empty paint events on
        // every repaint of the magnifier.
        widget->setAutoFillBackground(false);
        widget->setHidden(true);
    }
    // Both kinds of field need the final size and style.
    if (auto* field = qobject_cast<QLineEdit*>(widget)) {
        FitFieldText(field);
    } else if (auto* readout = qobject_cast<ReadoutField*>(widget)) {
        FitFieldText(readout);
    }
    return widget;
}

} // namespace huegrab
