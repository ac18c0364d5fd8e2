#include "settings/utf8_path.h"

#include <system_error>

namespace huegrab {

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    try {
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    } catch (const std::system_error&) {
        std::string shown;
        for (const auto c : path.native()) {
            if (const auto code = static_cast<unsigned long>(c); code < 0x80)
                shown += static_cast<char>(code);
            else
                shown += "\xEF\xBF\xBD";
        }
        return shown;
    }
}

} // namespace huegrab
