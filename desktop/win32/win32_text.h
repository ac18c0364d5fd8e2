#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace huegrab::win32 {

// Titles and class names are handed on in a buffer of 255 bytes, so at most
// 254 of them survive.
inline constexpr std::size_t kMaxWindowTextBytes = 254;

// UTF-16 (what the wide functions return) to UTF-8, cut at the first NUL and
// to at most `maxBytes` without splitting a character. An unpaired surrogate
// becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text, std::size_t maxBytes = kMaxWindowTextBytes);

} // namespace huegrab::win32
