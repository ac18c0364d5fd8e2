// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/global_hotkeys.h"
#include "desktop/pointer_and_keyboard.h"

#include <cstdint>
#include <optional>

namespace huegrab {

// Milliseconds between two sampling ticks while tracking runs.
inline constexpr int kTickIntervalMs = 100;

// 1 stopped (the next hotkey press starts), 2 running (the next one stops).
enum class TrackingState : std::int16_t { Stopped = 1, Running = 2 };

// The start/stop hotkey: Alt + the key left of 1.
struct HotkeyBinding {
    int id = 1001;
    unsigned modifiers = hotkey_mod::kAlt;
    int virtualKey = vk::kOem3;
};

// Decides what a hotkey press does to tracking: start it (true) while
// stopped, stop it (false) while running, and nothing for any other
// identifier, key or modifier combination. The window sets its start/stop
// switch to the answer and the switch's own handler does the work, so the
// hotkey and a click behave alike.
std::optional<bool> StartStopAfterHotkey(const HotkeyPress& press, TrackingState state,
                                         const HotkeyBinding& binding);

} // namespace huegrab
