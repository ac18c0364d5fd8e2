// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/hotkey_text.h"

#include "desktop/hotkey_name.h"
#include "text/ascii_case.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace huegrab {
namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::optional<unsigned> ModifierNamed(std::string_view lower) {
    constexpr std::array<std::pair<std::string_view, unsigned>, 6> kModifiers = {{
        {"ctrl", hotkey_mod::kControl},
        {"control", hotkey_mod::kControl},
        {"alt", hotkey_mod::kAlt},
        {"shift", hotkey_mod::kShift},
        {"win", hotkey_mod::kWin},
        {"super", hotkey_mod::kWin},
    }};
    for (const auto& [name, flag] : kModifiers) {
        if (name == lower)
            return flag;
    }
    return std::nullopt;
}

std::optional<int> KeyNamed(std::string_view text) {
    const std::string lower = AsciiLower(text);
    if (lower.size() == 1 && std::isalnum(static_cast<unsigned char>(lower[0])))
        return std::toupper(static_cast<unsigned char>(lower[0]));
    if (lower.size() >= 2 && lower.size() <= 3 && lower[0] == 'f' &&
        std::all_of(lower.begin() + 1, lower.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const int number = std::stoi(lower.substr(1));
        if (number >= 1 && number <= 24 && lower[1] != '0')
            return 0x70 + number - 1; // VK_F1 ...
        return std::nullopt;
    }
    constexpr std::array<std::pair<std::string_view, int>, 24> kKeys = {{
        {"tlde", vk::kOem3}, {"`", vk::kOem3}, {"~", vk::kOem3},      {"grave", vk::kOem3},
        {"space", 0x20},     {"tab", 0x09},    {"enter", 0x0D},       {"return", 0x0D},
        {"esc", 0x1B},       {"escape", 0x1B}, {"backspace", 0x08},   {"insert", 0x2D},
        {"delete", 0x2E},    {"del", 0x2E},    {"home", 0x24},        {"end", 0x23},
        {"pageup", 0x21},    {"pgup", 0x21},   {"pagedown", 0x22},    {"pgdn", 0x22},
        {"left", vk::kLeft}, {"up", vk::kUp},  {"right", vk::kRight}, {"down", vk::kDown},
    }};
    for (const auto& [name, key] : kKeys) {
        if (name == lower)
            return key;
    }
    return std::nullopt;
}

} // namespace

std::optional<HotkeyKeys> ParseHotkeyText(std::string_view text) {
    HotkeyKeys keys;
    // The key comes last; "Alt++" cannot name the plus key, none is offered.
    const std::size_t lastPlus = text.rfind('+');
    const std::string_view keyPart =
        Trimmed(lastPlus == std::string_view::npos ? text : text.substr(lastPlus + 1));
    const std::optional<int> key = KeyNamed(keyPart);
    if (!key)
        return std::nullopt;
    keys.virtualKey = *key;
    std::string_view rest =
        lastPlus == std::string_view::npos ? std::string_view() : text.substr(0, lastPlus + 1);
    while (!rest.empty()) {
        const std::size_t plus = rest.find('+');
        const std::optional<unsigned> flag =
            ModifierNamed(AsciiLower(Trimmed(rest.substr(0, plus))));
        if (!flag || (keys.modifiers & *flag) != 0)
            return std::nullopt;
        keys.modifiers |= *flag;
        rest.remove_prefix(plus + 1);
    }
    return keys;
}

std::string HotkeyDisplayName(const HotkeyKeys& keys) {
    constexpr std::array<std::pair<int, std::string_view>, 16> kNames = {{
        // The window has always named the key left of 1 by its shifted sign.
        {vk::kOem3, "~"},
        {0x20, "Space"},
        {0x09, "Tab"},
        {0x0D, "Enter"},
        {0x1B, "Esc"},
        {0x08, "Backspace"},
        {0x2D, "Insert"},
        {0x2E, "Delete"},
        {0x24, "Home"},
        {0x23, "End"},
        {0x21, "PageUp"},
        {0x22, "PageDown"},
        {vk::kLeft, "Left"},
        {vk::kUp, "Up"},
        {vk::kRight, "Right"},
        {vk::kDown, "Down"},
    }};
    std::string name = HotkeyName(keys.modifiers, 'A');
    name.pop_back(); // the modifiers with their "+"
    for (const auto& [key, keyName] : kNames) {
        if (key == keys.virtualKey)
            return name + std::string(keyName);
    }
    return HotkeyName(keys.modifiers, keys.virtualKey);
}

} // namespace huegrab
