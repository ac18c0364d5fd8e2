// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/wide_text.h"

#include "text/utf16.h"

#include <algorithm>
#include <windows.h>

namespace huegrab::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

std::string ToUtf8(std::wstring_view text) {
    return Utf16ToUtf8Lenient(std::u16string(text.begin(), text.end()));
}

std::wstring FromUtf8(std::string_view text) {
    if (text.empty())
        return {};
    const int size =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(size, 0)), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                          size);
    return wide;
}

} // namespace huegrab::win32
