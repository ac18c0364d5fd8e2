#include "app/lookup_controls.h"

#include "app/color_fields.h"
#include "app/form/form1.h"
#include "app/form/form_colors.h"
#include "lookup/colour_code_lookup.h"
#include "lookup/custom_point_reading.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace huegrab {

namespace {
constexpr ColorValue kInputField = 0xFFFFFF;
constexpr ColorValue kOutputField = 0xE1E1E1;

void SetEditable(QLineEdit* field, bool editable) {
    if (!field)
        return;
    field->setReadOnly(!editable);
    SetBackColor(field, editable ? kInputField : kOutputField);
}

std::string Text(const QLineEdit* field) {
    return field ? field->text().toStdString() : std::string();
}
} // namespace

LookupControls::LookupControls(Form1& form, DesktopServices& desktop)
    : form_(form), desktop_(desktop) {
    for (int index : {0, 1})
        if (auto* kind = form_.Find<QRadioButton>("Option1", index))
            QObject::connect(kind, &QRadioButton::clicked, &form_, [this] { ShowInputKind(); });
    if (auto* lookUp = form_.Find<QPushButton>("Command1"))
        QObject::connect(lookUp, &QPushButton::clicked, &form_, [this] { LookUpCode(); });
    if (auto* read = form_.Find<QPushButton>("Command2"))
        QObject::connect(read, &QPushButton::clicked, &form_, [this] { ReadCustomPoint(); });
}

void LookupControls::ShowInputKind() {
    const auto* decimal = form_.Find<QRadioButton>("Option1", 1);
    const auto* hex = form_.Find<QRadioButton>("Option1", 0);
    if (decimal && decimal->isChecked()) {
        SetEditable(form_.Field("查10"), false);
        SetEditable(form_.Field("查16"), true);
    } else if (hex && hex->isChecked()) {
        SetEditable(form_.Field("查16"), false);
        SetEditable(form_.Field("查10"), true);
    }
}

void LookupControls::LookUpCode() {
    const auto* hex = form_.Find<QRadioButton>("Option1", 0);
    const CodeInput input = hex && hex->isChecked() ? CodeInput::Hexadecimal : CodeInput::Decimal;
    QLineEdit* hexField = form_.Field("查10");
    QLineEdit* decimalField = form_.Field("查16");
    const LookupOutcome outcome = LookUpColourCode(input, Text(hexField), Text(decimalField));

    if (outcome.swatch)
        SetBackColor(form_.Control("查颜色"), *outcome.swatch);
    if (outcome.results)
        WriteColorTexts(form_, kLookupFields, *outcome.results);
    if (outcome.hexCode && hexField)
        hexField->setText(QString::fromStdString(*outcome.hexCode));
    if (outcome.decimalCode && decimalField)
        decimalField->setText(QString::fromStdString(*outcome.decimalCode));
}

void LookupControls::ReadCustomPoint() {
    const std::optional<CustomPointColour> colour =
        huegrab::ReadCustomPoint(desktop_, Text(form_.Field("自x")), Text(form_.Field("自y")));
    if (!colour)
        return;
    SetBackColor(form_.Control("自颜色"), colour->value);
    WriteColorTexts(form_, kCustomPointFields, colour->texts);
}

} // namespace huegrab
