// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace huegrab {

// The pieces of UTF-16 and UTF-8 that the settings file and the Windows
// desktop both need to turn one into the other.

constexpr bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

constexpr bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The code point of a high and a low surrogate.
constexpr char32_t FromSurrogates(char32_t high, char32_t low) {
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

constexpr std::size_t Utf8Length(char32_t codePoint) {
    return codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
}

inline void AppendUtf8(std::string& out, char32_t codePoint) {
    const std::size_t length = Utf8Length(codePoint);
    // The lead byte's marker bits, then six bits per byte from the top.
    constexpr unsigned char kLead[] = {0, 0x00, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLead[length] | (codePoint >> (6 * (length - 1))));
    for (std::size_t k = length - 1; k > 0; --k)
        out += static_cast<char>(0x80 | ((codePoint >> (6 * (k - 1))) & 0x3F));
}

// The length of `text` without a last UTF-8 character that a byte limit cut
// in half; bytes that are not UTF-8 stay as they are.
constexpr std::size_t LengthWithoutSplitUtf8Tail(std::string_view text) {
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    std::size_t back = 0; // continuation bytes at the end
    while (back < 3 && back < text.size() && (byte(text.size() - 1 - back) & 0xC0) == 0x80)
        ++back;
    if (back == text.size())
        return text.size();
    const std::size_t lead = text.size() - 1 - back;
    const unsigned char first = byte(lead);
    const std::size_t wanted = first < 0x80                    ? 1
                               : first >= 0xC0 && first < 0xE0 ? 2
                               : first >= 0xE0 && first < 0xF0 ? 3
                               : first >= 0xF0 && first < 0xF8 ? 4
                                                               : 0; // no lead byte
    return wanted > back + 1 ? lead : text.size();
}

} // namespace huegrab
