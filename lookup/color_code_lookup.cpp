// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/color_code_lookup.h"

#include "text/number_text.h"

namespace huegrab {

namespace {

void FillColor(LookupOutcome& outcome, ColorValue value) {
    outcome.swatch = value;
    outcome.results = MakeColorTexts(MakeColorSample(0, 0, value));
}

LookupOutcome FromHex(const std::string& text) {
    LookupOutcome outcome;
    if (text.empty())
        return outcome;
    const std::optional<ColorValue> value = ParseHexColorText(text);
    if (!value)
        return outcome;
    FillColor(outcome, *value);
    // Six upper-case digits; the same as padding the typed digits.
    outcome.hexCode = ColorToHexText(*value);
    outcome.decimalCode = DecimalText(*value);
    return outcome;
}

LookupOutcome FromDecimal(const std::string& text) {
    LookupOutcome outcome;
    if (text.empty())
        return outcome;
    const std::optional<std::int32_t> value = ParseDecimalText(text);
    if (!value || *value < 0)
        return outcome;
    if (*value <= kMaxColor)
        FillColor(outcome, *value);
    outcome.hexCode = ColorToHexText(*value);
    return outcome;
}

} // namespace

LookupOutcome LookUpColorCode(CodeInput input, const std::string& hexText,
                              const std::string& decimalText) {
    return input == CodeInput::Hexadecimal ? FromHex(hexText) : FromDecimal(decimalText);
}

} // namespace huegrab
