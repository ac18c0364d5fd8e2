// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_windows.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace huegrab::win32 {

// UTF-16 (what the wide functions return) to UTF-8, cut at the first NUL and
// to at most `maxBytes` without splitting a character. An unpaired surrogate
// becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text, std::size_t maxBytes = kMaxWindowTextBytes);

} // namespace huegrab::win32
