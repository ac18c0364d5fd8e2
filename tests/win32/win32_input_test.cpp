// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/win32/win32_desktop.h"
#include "desktop/win32/win32_screen.h"
#include "tests/win32/support/test_windows.h"

#include <gtest/gtest.h>

namespace huegrab {
namespace {

using win32test::PumpUntil;
using win32test::SendKey;

constexpr int kHotkeyId = 1001;

std::unique_ptr<Win32Desktop> OpenOrFail() {
    auto desktop = Win32Desktop::Open();
    EXPECT_NE(desktop, nullptr);
    return desktop;
}

TEST(Win32Pointer, MovesWhereAskedAndStaysOnTheScreen) {
    const auto desktop = OpenOrFail();
    ASSERT_NE(desktop, nullptr);
    const auto screen = win32::CurrentVirtualScreen();
    const std::int32_t right = screen.left + screen.width - 1;
    const std::int32_t bottom = screen.top + screen.height - 1;
    const struct {
        ScreenPoint asked;
        ScreenPoint expected;
    } cases[] = {
        {{100, 200}, {100, 200}},
        {{screen.left, screen.top}, {screen.left, screen.top}},
        {{right, bottom}, {right, bottom}},
        {{317, 41}, {317, 41}},
        // Off the screen: the nearest edge.
        {{screen.left - 50, 30}, {screen.left, 30}},
        {{right + 100, bottom + 100}, {right, bottom}},
    };
    for (const auto& c : cases) {
        desktop->SetCursorPos(c.asked.x, c.asked.y);
        const std::optional<ScreenPoint> read = desktop->GetCursorPos();
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(*read, c.expected)
            << "asked " << c.asked.x << "," << c.asked.y << " got " << read->x << "," << read->y;
    }
}

TEST(Win32Keys, AKeyReadsDownOnlyWhileHeld) {
    const auto desktop = OpenOrFail();
    ASSERT_NE(desktop, nullptr);
    // Bit i answers for keys[i]; unknown codes read as up whatever is held.
    const int keys[] = {vk::kLeft, vk::kUp, -1, 300, 0, vk::kUp};
    constexpr std::uint32_t kUpBits = 0b100010;
    SendKey(vk::kUp, false);
    EXPECT_TRUE(PumpUntil([&] { return desktop->KeysPressed(keys) == 0; }));
    SendKey(vk::kUp, true);
    EXPECT_TRUE(PumpUntil([&] { return desktop->KeysPressed(keys) == kUpBits; }))
        << std::hex << desktop->KeysPressed(keys);
    EXPECT_FALSE(desktop->IsKeyPressed(vk::kDown));
    SendKey(vk::kUp, false);
    EXPECT_TRUE(PumpUntil([&] { return desktop->KeysPressed(keys) == 0; }));
}

struct HotkeyCatch {
    std::vector<HotkeyPress> messages;
    void Attach(Win32Desktop& desktop) {
        desktop.SetHotkeyHandler([this](const HotkeyPress& m) { messages.push_back(m); });
    }
};

// Like PumpUntil, but through the backend's DispatchEvents() alone.
bool PumpUntilWith(Win32Desktop& desktop, const std::function<bool()>& done) {
    for (int i = 0; i < 500; ++i) {
        desktop.DispatchEvents();
        if (done())
            return true;
        ::Sleep(10);
    }
    return false;
}

void PressAltTilde(std::initializer_list<WORD> extraModifiers = {}) {
    for (const WORD modifier : extraModifiers)
        SendKey(modifier, true);
    SendKey(VK_MENU, true);
    SendKey(static_cast<WORD>(vk::kOem3), true);
    SendKey(static_cast<WORD>(vk::kOem3), false);
    SendKey(VK_MENU, false);
    for (const WORD modifier : extraModifiers)
        SendKey(modifier, false);
}

TEST(Win32Hotkey, ASecondRegistrationIsRefusedWhileTheFirstHoldsIt) {
    const auto first = OpenOrFail();
    auto second = OpenOrFail();
    ASSERT_TRUE(first && second);
    ASSERT_TRUE(first->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    // Refused quietly, but said on stderr, as the X11 desktop says it.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(second->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_NE(diagnostics.find("Alt+` is already registered by another program"), std::string::npos)
        << diagnostics;
    // Another combination of the same key is free.
    EXPECT_TRUE(second->RegisterHotKey(7, hotkey_mod::kAlt | hotkey_mod::kControl, vk::kOem3));
    first->UnregisterHotKey(kHotkeyId);
    EXPECT_TRUE(second->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    // Closing a desktop gives its hotkeys up.
    const auto third = OpenOrFail();
    ASSERT_TRUE(third);
    EXPECT_FALSE(third->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    second.reset();
    EXPECT_TRUE(third->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
}

TEST(Win32Hotkey, EachPressOfAltTildeReachesTheHandlerOnce) {
    const auto desktop = OpenOrFail();
    ASSERT_NE(desktop, nullptr);
    HotkeyCatch caught;
    caught.Attach(*desktop);
    ASSERT_TRUE(desktop->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));

    PressAltTilde();
    ASSERT_TRUE(PumpUntil([&] { return !caught.messages.empty(); })) << "no WM_HOTKEY for Alt + ~";
    // The backend's own pump delivers it too (the command-line tools have
    // no other loop).
    PressAltTilde();
    ASSERT_TRUE(PumpUntilWith(*desktop, [&] { return caught.messages.size() >= 2; }));
    const HotkeyPress expected{kHotkeyId, hotkey_mod::kAlt, vk::kOem3};
    for (const HotkeyPress& press : caught.messages)
        EXPECT_EQ(press, expected)
            << press.id << " " << press.modifiers << " " << std::hex << press.virtualKey;

    // Other modifier combinations are not the registered hotkey; after
    // unregistering, Alt + ~ is not either.
    caught.messages.clear();
    PressAltTilde({VK_CONTROL});
    PressAltTilde({VK_SHIFT});
    desktop->UnregisterHotKey(kHotkeyId);
    PressAltTilde();
    win32test::PumpMessages(std::chrono::milliseconds(300));
    desktop->DispatchEvents();
    EXPECT_TRUE(caught.messages.empty()) << caught.messages.size() << " unexpected presses";
}

} // namespace
} // namespace huegrab
