// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_model.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace huegrab {

// A whole number as a stored text gives it: optional blanks (space, tab),
// an optional "+" or "-", one or more ASCII digits, optional blanks; nothing
// else ("5.0", "0x10", "1 2", "" and "-" are not whole numbers). Any number of
// digits is accepted; magnitudes beyond 64 bits only count as too large.
struct WholeNumber {
    bool negative = false;
    std::uint64_t magnitude = 0; // saturated when tooLarge
    bool tooLarge = false;       // more than 18446744073709551615
    std::uint32_t low24 = 0;     // magnitude modulo 2^24, exact even when tooLarge
};

std::optional<WholeNumber> ParseWholeNumber(std::string_view text);

// The colour a stored "C" text paints a slot and the swatch with: nullopt
// when it is not a whole number (the caller paints the empty look); the value
// for 0..16777215; black (0) for any other whole number, as the tick paints
// an unreadable pixel (-1).
std::optional<ColorValue> StoredColorPaint(std::string_view text);

// The six-digit hexadecimal text of a stored "C": the last six hexadecimal
// digits of the number in two's complement (-1 gives "FFFFFF", 16777216 gives
// "000000"); empty when the text is not a whole number.
std::string StoredColorHexText(std::string_view text);

// The hexadecimal text of a stored component ("R", "G", "B"): upper case
// without leading zeros (5 -> "5", 255 -> "FF", 256 -> "100"). A negative
// number shows its 32-bit two's complement (-1 -> "FFFFFFFF"), as the desktop's
// hexadecimal formatting of a 32-bit number does. Empty when the text is not
// a whole number or lies outside -2147483648..4294967295.
std::string ComponentHexText(std::string_view text);

} // namespace huegrab
