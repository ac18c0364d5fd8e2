// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/global_hotkeys.h"
#include "desktop/pointer_and_keyboard.h"

#include <cstdio>
#include <string>

namespace huegrab {

// "Ctrl+Alt+`" style name of a hotkey, for messages to a person at a
// terminal; every backend names a refused hotkey the same way.
inline std::string HotkeyName(unsigned windowsModifiers, int virtualKey) {
    std::string name;
    if (windowsModifiers & hotkey_mod::kControl)
        name += "Ctrl+";
    if (windowsModifiers & hotkey_mod::kAlt)
        name += "Alt+";
    if (windowsModifiers & hotkey_mod::kShift)
        name += "Shift+";
    if (windowsModifiers & hotkey_mod::kWin)
        name += "Win+";
    if (virtualKey == vk::kOem3) {
        name += '`';
    } else if ((virtualKey >= '0' && virtualKey <= '9') ||
               (virtualKey >= 'A' && virtualKey <= 'Z')) {
        name += static_cast<char>(virtualKey);
    } else if (virtualKey >= 0x70 && virtualKey <= 0x87) { // F1 ... F24
        name += "F" + std::to_string(virtualKey - 0x70 + 1);
    } else {
        char code[16];
        std::snprintf(code, sizeof code, "key 0x%X", static_cast<unsigned>(virtualKey));
        name += code;
    }
    return name;
}

} // namespace huegrab
