// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/screen_geometry.h"

#include <cstdint>
#include <optional>
#include <span>

namespace huegrab {

// Windows virtual-key codes; the backends map them to their own keys.
namespace vk {
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int kOem3 = 0xC0; // the key left of 1: ` and ~ on a US layout
} // namespace vk

// The pointer and the keys asked about, read at one moment.
struct PointerAndKeys {
    std::optional<ScreenPoint> position; // nullopt when it cannot be read
    std::uint32_t keysDown = 0;          // as KeysPressed gives it
};

// The desktop's role of the pointer and the global key state. Calls run on
// the UI thread, never throw, and report failure through their result.
class PointerAndKeyboard {
public:
    virtual ~PointerAndKeyboard() = default;

    // nullopt when the position cannot be read.
    virtual std::optional<ScreenPoint> GetCursorPos() = 0;
    virtual void SetCursorPos(std::int32_t x, std::int32_t y) = 0;

    // Global key state of several keys in one read of the keyboard: bit i of
    // the result is set while virtualKeys[i] is down. Keys past the 32nd and
    // unknown codes read as up.
    virtual std::uint32_t KeysPressed(std::span<const int> virtualKeys) = 0;
    // The same for one key.
    bool IsKeyPressed(int virtualKey) { return (KeysPressed({&virtualKey, 1}) & 1u) != 0; }
    // GetCursorPos and KeysPressed together, as the tick starts; a backend
    // may answer both in one exchange with its display server.
    virtual PointerAndKeys ReadPointerAndKeys(std::span<const int> virtualKeys) {
        std::optional<ScreenPoint> position = GetCursorPos();
        return {position, KeysPressed(virtualKeys)};
    }
};

} // namespace huegrab
