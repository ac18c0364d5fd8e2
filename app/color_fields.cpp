#include "app/color_fields.h"

#include "app/form/readout_field.h"
#include "app/form/readout_label.h"

#include <QLabel>
#include <QLineEdit>

namespace huegrab {
namespace {

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void SetFieldText(QLineEdit* field, const std::string& text) {
    if (field == nullptr)
        return;
    const QString value = ToQString(text);
    if (field->text() != value)
        field->setText(value);
}

void SetFieldText(ReadoutField* field, const std::string& text) {
    if (field != nullptr)
        field->setText(ToQString(text)); // the field skips a text it already shows
}

void SetLabelText(QLabel* label, const std::string& text) {
    if (label == nullptr)
        return;
    const QString value = ToQString(text);
    if (label->text() != value)
        label->setText(value);
}

void SetLabelText(ReadoutLabel* label, const std::string& text) {
    if (label != nullptr)
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
