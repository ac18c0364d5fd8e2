// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_pixel_format.h"

#include <bit>

namespace huegrab::x11 {

ChannelConverter::ChannelConverter(std::uint32_t redMask, std::uint32_t greenMask,
                                   std::uint32_t blueMask)
    : red_(MakeChannel(redMask)), green_(MakeChannel(greenMask)), blue_(MakeChannel(blueMask)) {}

bool ChannelConverter::IsRgb888() const {
    return red_.mask == 0xFF0000u && green_.mask == 0x00FF00u && blue_.mask == 0x0000FFu;
}

ChannelConverter::Channel ChannelConverter::MakeChannel(std::uint32_t mask) {
    Channel channel;
    if (mask == 0)
        return channel;
    channel.mask = mask;
    channel.shift = static_cast<unsigned>(std::countr_zero(mask));
    // X requires contiguous masks; the width is the run of ones above the shift.
    channel.bits = static_cast<unsigned>(std::countr_one(mask >> channel.shift));
    return channel;
}

std::uint32_t ChannelConverter::Channel::To8Bit(std::uint32_t pixel) const {
    if (bits == 0)
        return 0;
    const std::uint32_t value = (pixel & mask) >> shift;
    if (bits >= 8)
        return (value >> (bits - 8)) & 0xFFu;
    const std::uint32_t maximum = (1u << bits) - 1;
    return (value * 255u + maximum / 2) / maximum;
}

} // namespace huegrab::x11
