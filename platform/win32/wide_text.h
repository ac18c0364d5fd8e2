// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace huegrab::win32 {

// A wide text of the system's (a name, a message, a variable) as UTF-8; a
// lone surrogate becomes U+FFFD, as the system's own conversion makes it.
std::string ToUtf8(std::wstring_view text);

// UTF-8 as the wide text the system's W functions take; bytes that are not
// UTF-8 become U+FFFD.
std::wstring FromUtf8(std::string_view text);

} // namespace huegrab::win32
