// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace huegrab {

// Reads the number a text starts with, the forgiving way the origin fields
// and the handle paste need: blanks, tabs and line feeds are skipped anywhere
// (" 1 2 " is 12), reading stops at the first character that cannot continue
// the number ("12abc" is 12, "1.2.3" is 1.2), "." is the decimal separator.
// Forms: an optional "+" or "-", digits with an optional fraction, and an
// optional exponent "e" or "E" with optional sign and digits ("1e3" is 1000;
// an "e" without digits ends the number: "12e" is 12). "&H" (or "&h") starts
// a hexadecimal and "&O" (or "&o") an octal number, always non-negative, with
// no sign before them. A text that does not start with a number ("", "abc",
// "-", "&", "&H") reads as 0. The result is the double nearest to the number;
// a number beyond the double range reads as the largest double with its sign,
// one too small reads as 0. Never fails, whatever the length of the text.
double ReadLeadingNumber(std::string_view text);

// A whole number without a decimal point, anything else with up to 15
// significant digits and "." as the separator (239.5, 150, 0.3; -0.0 gives
// "0"). Magnitudes from 1e15 up or below 1e-4 use an exponent: "1e+15",
// "2.5e-07" (which ReadLeadingNumber reads back). Infinities and NaN give
// "inf", "-inf" and "nan". The same text in every locale.
std::string FormatShortestDouble(double value);

// Plain decimal digits with a leading "-" for negatives.
std::string DecimalText(std::int64_t value);

} // namespace huegrab
