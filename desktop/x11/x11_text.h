// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_windows.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace huegrab::x11 {

// What the backend hands on as a title or class name: the text up to its
// first NUL, as valid UTF-8 (each broken sequence, overlong form, surrogate
// or stray byte becomes one U+FFFD, as browsers decode), cut to at most
// kMaxWindowTextBytes without splitting a character.
std::string CutWindowText(std::string_view text);

bool IsValidUtf8(std::string_view bytes);

// ICCCM STRING properties are Latin-1, but many programs put UTF-8 there:
// valid UTF-8 is kept as it is, anything else is read as Latin-1.
std::string StringPropertyToUtf8(std::string_view bytes);

} // namespace huegrab::x11
