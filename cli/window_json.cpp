// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/window_json.h"

#include "text/number_text.h"
#include "text/unicode.h"

namespace huegrab::cli {
namespace {

// The length of the well-formed UTF-8 character at the start of `text`;
// 0 when it starts with a byte that begins none (overlong forms and
// surrogates included).
std::size_t Utf8CharacterLength(std::string_view text) {
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80; // the second byte's range, narrowed where forms are excluded
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

} // namespace

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    while (!text.empty()) {
        const auto byte = static_cast<unsigned char>(text.front());
        const std::size_t length = Utf8CharacterLength(text);
        if (byte == '"' || byte == '\\') {
            json += '\\';
            json += static_cast<char>(byte);
        } else if (byte < 0x20) {
            constexpr char kDigits[] = "0123456789abcdef";
            json += "\\u00";
            json += kDigits[byte >> 4];
            json += kDigits[byte & 0xF];
        } else if (length == 0) {
            AppendUtf8(json, U'\uFFFD');
            text.remove_prefix(1);
            continue;
        } else {
            json.append(text.substr(0, length));
            text.remove_prefix(length);
            continue;
        }
        text.remove_prefix(1);
    }
    return json + "\"";
}

std::string WindowJson(const WindowDescription& window) {
    return "{\"handle\":" + DecimalText(window.handle) +
           ",\"title\":" + JsonString(window.names.title) +
           ",\"class\":" + JsonString(window.names.className) + "}";
}

std::string WindowsJson(const std::vector<WindowDescription>& windows) {
    std::string json = "[";
    for (const WindowDescription& window : windows) {
        if (json.size() > 1)
            json += ',';
        json += WindowJson(window);
    }
    return json + "]";
}

} // namespace huegrab::cli
