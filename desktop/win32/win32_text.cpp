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

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string utf16;
    utf16.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80                      ? 1
                             : (lead >= 0xC2 && lead <= 0xDF) ? 2
                             : (lead >= 0xE0 && lead <= 0xEF) ? 3
                             : (lead >= 0xF0 && lead <= 0xF4) ? 4
                                                              : 0;
        char32_t codePoint = length == 1   ? lead
                             : length == 2 ? lead & 0x1F
                             : length == 3 ? lead & 0x0F
                                           : lead & 0x07;
        bool valid = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (codePoint < kSmallest[length] || codePoint > 0x10FFFF ||
                      (codePoint >= 0xD800 && codePoint <= 0xDFFF)))
            valid = false;
        if (!valid) {
            utf16 += static_cast<char16_t>(kReplacement);
            ++i;
            continue;
        }
        if (codePoint >= 0x10000) {
            utf16 += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
            utf16 += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            utf16 += static_cast<char16_t>(codePoint);
        }
        i += length;
    }
    return utf16;
}

} // namespace huegrab::win32
