// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_pixel_format.h"

#include <gtest/gtest.h>

namespace huegrab::x11 {
namespace {

TEST(ChannelConverter, Rgb888IsRecognisedAndSwappedToBgr) {
    const ChannelConverter rgb888(0xFF0000, 0x00FF00, 0x0000FF);
    EXPECT_TRUE(rgb888.IsRgb888());
    EXPECT_EQ(rgb888.ToColorValue(0x123456), 0x563412);
    EXPECT_EQ(ChannelConverter::FromRgb888(0x123456), 0x563412);
    // The unused top byte (alpha or padding) never reaches the value.
    EXPECT_EQ(rgb888.ToColorValue(0xFF123456), 0x563412);
    EXPECT_EQ(ChannelConverter::FromRgb888(0xFF123456), 0x563412);
}

TEST(ChannelConverter, BgrVisualsAreReadByTheirMasks) {
    const ChannelConverter bgr888(0x0000FF, 0x00FF00, 0xFF0000);
    EXPECT_FALSE(bgr888.IsRgb888());
    EXPECT_EQ(bgr888.ToColorValue(0x123456), 0x123456);
}

TEST(ChannelConverter, Rgb565StretchesFullChannelsTo255) {
    const ChannelConverter rgb565(0xF800, 0x07E0, 0x001F);
    EXPECT_EQ(rgb565.ToColorValue(0xF800), 0x0000FF); // red
    EXPECT_EQ(rgb565.ToColorValue(0x07E0), 0x00FF00); // green
    EXPECT_EQ(rgb565.ToColorValue(0x001F), 0xFF0000); // blue
    EXPECT_EQ(rgb565.ToColorValue(0xFFFF), 0xFFFFFF);
    EXPECT_EQ(rgb565.ToColorValue(0x0000), 0x000000);
    // Mid values round to the nearest 8-bit level: 16/31 -> 132, 32/63 -> 130.
    EXPECT_EQ(rgb565.ToColorValue((16u << 11) | (32u << 5) | 16u), 0x848284);
}

TEST(ChannelConverter, TenBitChannelsKeepTheirTopEightBits) {
    const ChannelConverter rgb101010(0x3FF00000, 0x000FFC00, 0x000003FF);
    EXPECT_EQ(rgb101010.ToColorValue(0x3FFFFFFF), 0xFFFFFF);
    EXPECT_EQ(rgb101010.ToColorValue(0x3FF00000), 0x0000FF);
    // 0x200 of 10 bits is 0x80 of 8.
    EXPECT_EQ(rgb101010.ToColorValue(0x200u << 10), 0x008000);
}

TEST(ChannelConverter, EmptyMasksMeanAColorMappedVisual) {
    EXPECT_FALSE(ChannelConverter(0, 0, 0).HasMasks());
    EXPECT_TRUE(ChannelConverter(0xF800, 0x07E0, 0x001F).HasMasks());
}

} // namespace
} // namespace huegrab::x11
