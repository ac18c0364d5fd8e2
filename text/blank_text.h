// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace huegrab {

// The blanks typed fields ignore around a number or code.
inline constexpr std::string_view kSpaceAndTab = " \t";
// The same, with the line breaks a text copied from a terminal ends in.
inline constexpr std::string_view kBlanksAndLineBreaks = " \t\r\n";
// The blanks the INI rules strip around names and values.
inline constexpr std::string_view kIniBlanks = " \t\v\f";

// `text` without the characters of `blanks` at either end.
std::string_view TrimBlanks(std::string_view text, std::string_view blanks = kSpaceAndTab);

} // namespace huegrab
