// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/screen_pixels.h"

namespace huegrab::win32 {

// The part of the desktop that screen reads can reach: the virtual screen,
// the bounding rectangle of all monitors (its left and top are negative
// when a monitor lies left of or above the primary one).
struct VirtualScreen {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};
VirtualScreen CurrentVirtualScreen();

// One BitBlt of the block into a 32-bit DIB section. Pixels off the virtual
// screen, and all of them when the screen cannot be read, are kInvalidColor.
PixelBlock ReadScreenBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                           std::int32_t height);

// One pixel by GetPixel on the screen DC (acquired and released here):
// cheaper than a DIB section for a single read. kInvalidColor off the
// virtual screen.
ColorValue ReadScreenPixel(std::int32_t x, std::int32_t y);

// A DIB word 0xAARRGGBB (bytes B, G, R, A in memory) as 0x00BBGGRR.
constexpr ColorValue ColorFromDibWord(std::uint32_t word) {
    return static_cast<ColorValue>(((word >> 16) & 0xFF) | (word & 0xFF00) | ((word & 0xFF) << 16));
}

} // namespace huegrab::win32
