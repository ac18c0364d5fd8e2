// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/utf8_path.h"

#include "text/utf16.h"

#include <system_error>
#include <type_traits>

namespace huegrab::platform {

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    try {
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    } catch (const std::system_error&) {
        // Only a wide (Windows) name fails: a lone surrogate has no UTF-8 form.
        const auto& native = path.native();
        if constexpr (std::is_same_v<std::filesystem::path::value_type, wchar_t>)
            return Utf16ToUtf8Lenient(std::u16string(native.begin(), native.end()));
        else
            return std::string(native.begin(), native.end());
    }
}

} // namespace huegrab::platform
