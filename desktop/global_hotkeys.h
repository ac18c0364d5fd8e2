// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace huegrab {

// Windows hotkey modifier flags.
namespace hotkey_mod {
inline constexpr unsigned kAlt = 1;
inline constexpr unsigned kControl = 2;
inline constexpr unsigned kShift = 4;
inline constexpr unsigned kWin = 8;
} // namespace hotkey_mod

// A press of a registered hotkey: its id, the modifiers held (hotkey_mod
// flags) and the key (a Windows virtual-key code).
struct HotkeyPress {
    int id = 0;
    unsigned modifiers = 0;
    int virtualKey = 0;
    friend bool operator==(const HotkeyPress&, const HotkeyPress&) = default;
};

// The desktop's role of global hotkeys. Calls run on the UI thread and
// never throw. Presses reach the handler through the desktop's event
// delivery (DesktopEvents).
class GlobalHotkeys {
public:
    virtual ~GlobalHotkeys() = default;

    // Returns false when another program holds the combination.
    virtual bool RegisterHotKey(int id, unsigned modifiers, int virtualKey) = 0;
    virtual void UnregisterHotKey(int id) = 0;
    virtual void SetHotkeyHandler(std::function<void(const HotkeyPress&)> handler) = 0;
    // A key press that reached the toolkit's own windows, as the toolkit's
    // native key code and modifier state: the press of the registered
    // hotkey it is, if it is one. Where a pop-up of the program holds the
    // keyboard (X11), the hotkey's presses go to the pop-up, not to the
    // backend's grab, and must be handed on from there.
    virtual std::optional<HotkeyPress> HotkeyOfKeyPress(std::uint32_t /*nativeKeyCode*/,
                                                        std::uint32_t /*nativeModifiers*/) {
        return std::nullopt;
    }
};

} // namespace huegrab
