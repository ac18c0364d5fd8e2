// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/global_hotkeys.h"
#include "desktop/hotkey_name.h"
#include "desktop/pointer_and_keyboard.h"
#include "desktop/x11/x11_key_map.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace huegrab::x11 {
namespace {

TEST(KeysymForVirtualKey, MapsTheKeysTheProgramReads) {
    EXPECT_EQ(KeysymForVirtualKey(vk::kUp), static_cast<unsigned long>(XK_Up));
    EXPECT_EQ(KeysymForVirtualKey(vk::kLeft), static_cast<unsigned long>(XK_Left));
    EXPECT_EQ(KeysymForVirtualKey(vk::kDown), static_cast<unsigned long>(XK_Down));
    EXPECT_EQ(KeysymForVirtualKey(vk::kRight), static_cast<unsigned long>(XK_Right));
    EXPECT_EQ(KeysymForVirtualKey(vk::kOem3), static_cast<unsigned long>(XK_grave));
}

TEST(KeysymForVirtualKey, MapsLettersDigitsAndFunctionKeys) {
    EXPECT_EQ(KeysymForVirtualKey('A'), static_cast<unsigned long>(XK_a));
    EXPECT_EQ(KeysymForVirtualKey('Z'), static_cast<unsigned long>(XK_z));
    EXPECT_EQ(KeysymForVirtualKey('0'), static_cast<unsigned long>(XK_0));
    EXPECT_EQ(KeysymForVirtualKey('9'), static_cast<unsigned long>(XK_9));
    EXPECT_EQ(KeysymForVirtualKey(0x70), static_cast<unsigned long>(XK_F1));
    EXPECT_EQ(KeysymForVirtualKey(0x7B), static_cast<unsigned long>(XK_F12));
    // F13 to F24, which [Hotkey] Key= of config.ini may name.
    EXPECT_EQ(KeysymForVirtualKey(0x7C), static_cast<unsigned long>(XK_F13));
    EXPECT_EQ(KeysymForVirtualKey(0x87), static_cast<unsigned long>(XK_F24));
}

TEST(KeysymForVirtualKey, UnknownKeysHaveNone) {
    for (const int unknown : {-1, 0, 0x07, 0x88, 0xC1, 0xFF, 0x1000})
        EXPECT_EQ(KeysymForVirtualKey(unknown), 0u) << unknown;
}

TEST(HotkeyName, NamesModifiersInWindowsOrder) {
    EXPECT_EQ(HotkeyName(hotkey_mod::kAlt, vk::kOem3), "Alt+`");
    EXPECT_EQ(
        HotkeyName(hotkey_mod::kAlt | hotkey_mod::kControl | hotkey_mod::kShift | hotkey_mod::kWin,
                   'K'),
        "Ctrl+Alt+Shift+Win+K");
    EXPECT_EQ(HotkeyName(0, 0x71), "F2");
}

} // namespace
} // namespace huegrab::x11
