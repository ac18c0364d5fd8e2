#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace huegrab::x11 {

// Titles and class names are handed on in a buffer of 255 bytes, so at most
// 254 of them survive.
inline constexpr std::size_t kMaxWindowTextBytes = 254;

// Cuts at the first NUL, then to at most kMaxWindowTextBytes without leaving
// half a UTF-8 character at the end.
std::string CutWindowText(std::string_view text);

bool IsValidUtf8(std::string_view bytes);

// ICCCM STRING properties are Latin-1, but many programs put UTF-8 there:
// valid UTF-8 is kept as it is, anything else is read as Latin-1.
std::string StringPropertyToUtf8(std::string_view bytes);

} // namespace huegrab::x11
