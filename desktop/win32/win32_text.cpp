// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/win32/win32_text.h"

#include "text/unicode.h"
#include "text/utf16.h"

namespace huegrab::win32 {

std::string Utf16ToUtf8(std::u16string_view text, std::size_t maxBytes) {
    std::string utf8 = Utf16ToUtf8Lenient(text.substr(0, text.find(u'\0')));
    // Whole characters only: one that does not fit ends the text.
    if (utf8.size() > maxBytes) {
        utf8.resize(maxBytes);
        utf8.resize(LengthWithoutSplitUtf8Tail(utf8));
    }
    return utf8;
}

} // namespace huegrab::win32
