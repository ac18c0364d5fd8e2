// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_texts.h"

#include <optional>
#include <string>

namespace huegrab {

enum class CodeInput { Hexadecimal, Decimal };

// What a lookup changes on the page; an empty member leaves its field as it
// is. A code that does not convert changes nothing at all.
struct LookupOutcome {
    std::optional<ColorValue> swatch;
    std::optional<ColorTexts> results; // components and H, S, L
    std::optional<std::string> hexCode;
    std::optional<std::string> decimalCode;
};

// Turns the typed code of the selected kind into its colour. The other code
// field is rewritten so that both forms stand side by side; a decimal value
// above 0xFFFFFF only rewrites the hexadecimal field (its last six digits),
// and a negative one counts as a code that does not convert.
LookupOutcome LookUpColorCode(CodeInput input, const std::string& hexText,
                              const std::string& decimalText);

} // namespace huegrab
