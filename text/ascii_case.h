// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace huegrab {

// The text with A-Z made a-z and every other byte kept: names typed in
// settings and on the command line compare without regard to case, and
// the user's locale (a Turkish dotless i, say) has no say in it.
std::string AsciiLower(std::string_view text);

} // namespace huegrab
