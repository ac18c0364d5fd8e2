// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace huegrab::cli {

// The text with its control characters written as escapes ("\n", "\r",
// "\t", "\xHH" for the others and DEL), so that a message quoting a user's
// argument stays one line however the argument was typed.
std::string OneLineText(std::string_view text);

} // namespace huegrab::cli
