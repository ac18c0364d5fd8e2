// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/tracking_switch.h"

#include <gtest/gtest.h>

namespace huegrab {
namespace {

TEST(StartStopAfterHotkey, AltTildeChecksWhileStoppedAndUnchecksWhileRunning) {
    const HotkeyBinding binding;
    const HotkeyPress press{1001, hotkey_mod::kAlt, vk::kOem3};
    EXPECT_EQ(StartStopAfterHotkey(press, TrackingState::Stopped, binding), true);
    EXPECT_EQ(StartStopAfterHotkey(press, TrackingState::Running, binding), false);
}

TEST(StartStopAfterHotkey, OtherIdentifiersKeysModifiersAndStatesDoNothing) {
    const HotkeyBinding binding;
    const HotkeyPress ignored[] = {{1002, hotkey_mod::kAlt, vk::kOem3}, // another hotkey
                                   {1001, hotkey_mod::kAlt | hotkey_mod::kControl, vk::kOem3},
                                   {1001, hotkey_mod::kAlt | hotkey_mod::kShift, vk::kOem3},
                                   {1001, 0, vk::kOem3},
                                   {1001, hotkey_mod::kAlt, 0x31}, // Alt + 1
                                   {1001, hotkey_mod::kAlt, 0xFFC0}};
    for (const HotkeyPress& press : ignored)
        EXPECT_EQ(StartStopAfterHotkey(press, TrackingState::Stopped, binding), std::nullopt)
            << press.id << " " << press.modifiers << " " << std::hex << press.virtualKey;
    EXPECT_EQ(StartStopAfterHotkey({1001, hotkey_mod::kAlt, vk::kOem3},
                                   static_cast<TrackingState>(0), binding),
              std::nullopt);
}

} // namespace
} // namespace huegrab
