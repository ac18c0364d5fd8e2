#include "sampling/tracking_switch.h"

#include <gtest/gtest.h>

namespace huegrab {
namespace {

constexpr std::int32_t Press(int key, unsigned modifiers) {
    return static_cast<std::int32_t>((static_cast<unsigned>(key) << 16) | modifiers);
}

TEST(HotkeyWindowProc, AltTildeChecksWhileStoppedAndUnchecksWhileRunning) {
    const HotkeyBinding binding;
    const HotkeyMessage press{1001, Press(0xC0, 1)};
    EXPECT_EQ(HotkeyWindowProc(press, TrackingState::Stopped, binding), true);
    EXPECT_EQ(HotkeyWindowProc(press, TrackingState::Running, binding), false);
}

TEST(HotkeyWindowProc, OtherIdentifiersKeysModifiersAndStatesDoNothing) {
    const HotkeyBinding binding;
    const HotkeyMessage ignored[] = {{1002, Press(0xC0, 1)}, // another hotkey
                                     {1001, Press(0xC0, hotkey_mod::kAlt | hotkey_mod::kControl)},
                                     {1001, Press(0xC0, hotkey_mod::kAlt | hotkey_mod::kShift)},
                                     {1001, Press(0xC0, 0)},
                                     {1001, Press(0x31, 1)}, // Alt + 1
                                     {1001, static_cast<std::int32_t>(0xFFC00001u)}};
    for (const HotkeyMessage& message : ignored)
        EXPECT_EQ(HotkeyWindowProc(message, TrackingState::Stopped, binding), std::nullopt)
            << std::hex << message.lParam;
    EXPECT_EQ(HotkeyWindowProc({1001, Press(0xC0, 1)}, static_cast<TrackingState>(0), binding),
              std::nullopt);
}

} // namespace
} // namespace huegrab
