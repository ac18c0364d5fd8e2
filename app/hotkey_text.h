// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace huegrab {

// Where config.ini keeps the start/stop hotkey: [Hotkey] Key=Alt+TLDE.
inline constexpr char kHotkeySection[] = "Hotkey";
inline constexpr char kHotkeyKey[] = "Key";

// A hotkey as Windows hotkey modifier flags and a virtual-key code.
struct HotkeyKeys {
    unsigned modifiers = 0;
    int virtualKey = 0;
    friend bool operator==(const HotkeyKeys&, const HotkeyKeys&) = default;
};

// Reads a key combination as config.ini spells it: modifiers and one key
// joined by "+", in any case, blanks around the parts allowed, such as
// "Alt+TLDE", "ctrl + alt + F9" or "Shift+Win+K". Modifiers: Ctrl (Control),
// Alt, Shift, Win (Super). Keys: TLDE (also ` and ~), the physical key left
// of 1 whatever the layout; a letter or digit; F1 ... F24; Space, Tab, Enter,
// Esc, Backspace, Insert, Delete, Home, End, PageUp, PageDown, Left, Up,
// Right, Down. nullopt for anything else.
std::optional<HotkeyKeys> ParseHotkeyText(std::string_view text);

// The hotkey as the window names it: "Alt+~", "Ctrl+Alt+F9".
std::string HotkeyDisplayName(const HotkeyKeys& keys);

} // namespace huegrab
