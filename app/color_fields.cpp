// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/color_fields.h"

#include "app/form/readout_field.h"
#include "app/form/readout_label.h"

#include <QAnyStringView>
#include <QLabel>
#include <QLineEdit>

namespace huegrab {
namespace {

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Whether a control already shows `text`, without converting it: on most
// ticks every reading is what it was, and a dozen conversions a tick are a
// dozen allocations for nothing. Bytes that are not UTF-8 compare as the
// U+FFFD they show as.
bool Shows(const QString& shown, const std::string& text) {
    return QAnyStringView::equal(shown,
                                 QUtf8StringView(text.data(), static_cast<qsizetype>(text.size())));
}

} // namespace

void SetFieldText(QLineEdit* field, const std::string& text) {
    if (field == nullptr)
        return;
    if (Shows(field->text(), text))
        return; // a line edit would drop its selection
    field->setText(ToQString(text));
    // setText leaves the cursor at the end, and a text too long for the
    // field would show only its tail: a written text shows from its start.
    field->setCursorPosition(0);
}

void SetFieldText(ReadoutField* field, const std::string& text) {
    if (field != nullptr && !Shows(field->text(), text))
        field->setText(ToQString(text)); // the field skips a text it already shows
}

void SetLabelText(QLabel* label, const std::string& text) {
    if (label == nullptr)
        return;
    if (!Shows(label->text(), text))
        label->setText(ToQString(text));
}

void SetLabelText(ReadoutLabel* label, const std::string& text) {
    if (label != nullptr && !Shows(label->text(), text))
        label->setText(ToQString(text)); // the label skips a text it already shows
}

std::string FieldText(const QLineEdit* field) {
    return field ? field->text().toStdString() : std::string();
}

std::string FieldText(const ReadoutField* field) {
    return field ? field->text().toStdString() : std::string();
}

void WriteColorTexts(const ColorReadout& fields, const ColorTexts& texts) {
    SetFieldText(fields.hex, texts.hex);
    SetFieldText(fields.value, texts.value);
    SetFieldText(fields.rHex, texts.rHex);
    SetFieldText(fields.gHex, texts.gHex);
    SetFieldText(fields.bHex, texts.bHex);
    SetFieldText(fields.r, texts.r);
    SetFieldText(fields.g, texts.g);
    SetFieldText(fields.b, texts.b);
    SetFieldText(fields.h, texts.h);
    SetFieldText(fields.s, texts.s);
    SetFieldText(fields.l, texts.l);
}

} // namespace huegrab
