// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/lookup_controls.h"

#include "app/color_fields.h"
#include "app/form/form1.h"
#include "app/form/form_colors.h"
#include "lookup/color_code_lookup.h"
#include "lookup/custom_point_reading.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace huegrab {

namespace {
void SetEditable(QLineEdit* field, bool editable) {
    field->setReadOnly(!editable);
    SetBackColor(field, editable ? kWhite : kLightGrey);
}
} // namespace

LookupControls::LookupControls(Form1& form, ScreenPixels& screen)
    : lookup_(form.Controls().lookup), customPoint_(form.Controls().customPoint), screen_(screen) {
    for (QRadioButton* kind : {lookup_.hexKind, lookup_.decimalKind})
        QObject::connect(kind, &QRadioButton::clicked, &form, [this] { ShowInputKind(); });
    QObject::connect(lookup_.show, &QPushButton::clicked, &form, [this] { LookUpCode(); });
    QObject::connect(customPoint_.read, &QPushButton::clicked, &form,
                     [this] { ReadCustomPoint(); });
}

void LookupControls::ShowInputKind() {
    if (lookup_.decimalKind->isChecked()) {
        SetEditable(lookup_.hexCode, false);
        SetEditable(lookup_.decimalCode, true);
    } else if (lookup_.hexKind->isChecked()) {
        SetEditable(lookup_.decimalCode, false);
        SetEditable(lookup_.hexCode, true);
    }
}

void LookupControls::LookUpCode() {
    const CodeInput input =
        lookup_.hexKind->isChecked() ? CodeInput::Hexadecimal : CodeInput::Decimal;
    const LookupOutcome outcome =
        LookUpColorCode(input, FieldText(lookup_.hexCode), FieldText(lookup_.decimalCode));

    if (outcome.swatch)
        SetBackColor(lookup_.swatch, *outcome.swatch);
    if (outcome.results)
        WriteColorTexts(lookup_.color, *outcome.results);
    if (outcome.hexCode)
        lookup_.hexCode->setText(QString::fromStdString(*outcome.hexCode));
    if (outcome.decimalCode)
        lookup_.decimalCode->setText(QString::fromStdString(*outcome.decimalCode));
}

void LookupControls::ReadCustomPoint() {
    const std::optional<CustomPointColor> color =
        huegrab::ReadCustomPoint(screen_, FieldText(customPoint_.x), FieldText(customPoint_.y));
    if (!color)
        return;
    SetBackColor(customPoint_.swatch, color->value);
    WriteColorTexts(customPoint_.color, color->texts);
}

} // namespace huegrab
