// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace huegrab {

// Root-window coordinates in device pixels (what xdotool and xwininfo use).
struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// A rectangle of the screen in root-window device pixels.
struct ScreenRect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

} // namespace huegrab
