#include "desktop/win32/win32_text.h"

#include "color/unicode.h"

#include <algorithm>

namespace huegrab::win32 {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

} // namespace

std::string Utf16ToUtf8(std::u16string_view text, std::size_t maxBytes) {
    text = text.substr(0, text.find(u'\0'));
    std::string utf8;
    utf8.reserve(std::min(text.size() * 3, maxBytes));
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t codePoint = text[i];
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            codePoint = FromSurrogates(text[i], text[i + 1]);
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
