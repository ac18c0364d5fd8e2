// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_model.h"

#include <cstdint>

namespace huegrab::x11 {

// Turns the pixel values of a TrueColor visual into 0x00BBGGRR by its
// channel masks. Channels narrower than 8 bits are stretched so that
// their full value gives 255 (a 5-bit 31 reads 255, not 248).
class ChannelConverter {
public:
    ChannelConverter(std::uint32_t redMask, std::uint32_t greenMask, std::uint32_t blueMask);

    // False when a mask is empty: the visual works through a colour map.
    bool HasMasks() const { return red_.bits > 0 && green_.bits > 0 && blue_.bits > 0; }
    // The common 32-bit 0x00RRGGBB layout, read without per-channel work.
    bool IsRgb888() const;

    ColorValue ToColorValue(std::uint32_t pixel) const {
        return static_cast<ColorValue>(red_.To8Bit(pixel) | (green_.To8Bit(pixel) << 8) |
                                       (blue_.To8Bit(pixel) << 16));
    }

    // The fast path of IsRgb888(): 0x00RRGGBB to 0x00BBGGRR.
    static ColorValue FromRgb888(std::uint32_t pixel) {
        return static_cast<ColorValue>(((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) |
                                       ((pixel >> 16) & 0xFFu));
    }

private:
    struct Channel {
        std::uint32_t mask = 0;
        unsigned shift = 0;
        unsigned bits = 0;
        std::uint32_t To8Bit(std::uint32_t pixel) const;
    };
    static Channel MakeChannel(std::uint32_t mask);

    Channel red_;
    Channel green_;
    Channel blue_;
};

} // namespace huegrab::x11
