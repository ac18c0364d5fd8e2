// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form/form_controls.h"
#include "color/color_texts.h"

#include <string>

class QLabel;

namespace huegrab {

// Sets the text only when it differs: an unchanged field is neither
// repainted nor announced to accessibility clients. Null fields are skipped.
// A line edit shows a new text from its start.
void SetFieldText(QLineEdit* field, const std::string& text);
void SetFieldText(ReadoutField* field, const std::string& text);
void SetLabelText(QLabel* label, const std::string& text);
void SetLabelText(ReadoutLabel* label, const std::string& text);
// The field's text as UTF-8; empty for a null field.
std::string FieldText(const QLineEdit* field);
std::string FieldText(const ReadoutField* field);

// Writes the texts in the order the readouts are built: the code fields,
// the hexadecimal pairs, the decimal components, then H, S, L.
void WriteColorTexts(const ColorReadout& fields, const ColorTexts& texts);

} // namespace huegrab
