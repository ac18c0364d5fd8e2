#include "desktop/win32/win32_text.h"

#include <algorithm>

namespace huegrab::win32 {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

std::size_t Utf8Length(char32_t codePoint) {
    return codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    const auto byte = [&out](char32_t value) {
        out += static_cast<char>(value);
    };
    switch (Utf8Length(codePoint)) {
    case 1:
        byte(codePoint);
        break;
    case 2:
        byte(0xC0 | (codePoint >> 6));
        byte(0x80 | (codePoint & 0x3F));
        break;
    case 3:
        byte(0xE0 | (codePoint >> 12));
        byte(0x80 | ((codePoint >> 6) & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
        break;
    default:
        byte(0xF0 | (codePoint >> 18));
        byte(0x80 | ((codePoint >> 12) & 0x3F));
        byte(0x80 | ((codePoint >> 6) & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
        break;
    }
}

} // namespace

std::string Utf16ToUtf8(std::u16string_view text, std::size_t maxBytes) {
    text = text.substr(0, text.find(u'\0'));
    std::string utf8;
    utf8.reserve(std::min(text.size() * 3, maxBytes));
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t codePoint = text[i];
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            codePoint = 0x10000 + ((char32_t{text[i]} - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
            codePoint = kReplacement;
        }
        // Whole characters only: one that does not fit ends the text.
        if (utf8.size() + Utf8Length(codePoint) > maxBytes)
            break;
        AppendUtf8(utf8, codePoint);
    }
    return utf8;
}

} // namespace huegrab::win32
