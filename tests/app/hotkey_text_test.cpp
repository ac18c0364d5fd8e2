// SPDX-License-Identifier: GPL-3.0-or-later
// The hotkey as config.ini spells it, and as the window names it.
#include "app/hotkey_text.h"
#include "desktop/global_hotkeys.h"
#include "desktop/pointer_and_keyboard.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace huegrab {
namespace {

struct HotkeyTextCase {
    std::string text;
    std::optional<HotkeyKeys> keys; // nullopt: not a key combination
    std::string shown{};            // HotkeyDisplayName of keys
};

TEST(HotkeyText, ReadsModifiersAndOneKeyAndNamesThemForTheWindow) {
    using namespace hotkey_mod;
    const std::vector<HotkeyTextCase> cases = {
        {"Alt+TLDE", HotkeyKeys{kAlt, vk::kOem3}, "Alt+~"},
        {" alt + ` ", HotkeyKeys{kAlt, vk::kOem3}, "Alt+~"},
        {"Ctrl+Alt+F9", HotkeyKeys{kControl | kAlt, 0x78}, "Ctrl+Alt+F9"},
        {"control+SHIFT+f24", HotkeyKeys{kControl | kShift, 0x87}, "Ctrl+Shift+F24"},
        {"Super+k", HotkeyKeys{kWin, 'K'}, "Win+K"},
        {"Shift+Win+7", HotkeyKeys{kShift | kWin, '7'}, "Shift+Win+7"},
        {"Alt+PageDown", HotkeyKeys{kAlt, 0x22}, "Alt+PageDown"},
        {"F12", HotkeyKeys{0, 0x7B}, "F12"},
        {"Alt+Space", HotkeyKeys{kAlt, 0x20}, "Alt+Space"},
        {"", std::nullopt},
        {"Alt+", std::nullopt},
        {"Alt", std::nullopt},
        {"Alt+Alt+K", std::nullopt},
        {"Hyper+K", std::nullopt},
        {"Alt+F25", std::nullopt},
        {"Alt+F0", std::nullopt},
        {"Alt+KK", std::nullopt},
        {"Alt++K", std::nullopt},
    };
    for (const HotkeyTextCase& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<HotkeyKeys> keys = ParseHotkeyText(c.text);
        EXPECT_EQ(keys, c.keys);
        if (keys && c.keys) {
            EXPECT_EQ(HotkeyDisplayName(*keys), c.shown);
        }
    }
}

} // namespace
} // namespace huegrab
