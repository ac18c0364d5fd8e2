// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/fake/fake_desktop.h"
#include "lookup/custom_point_reading.h"

#include <gtest/gtest.h>

namespace huegrab {
namespace {

TEST(CustomPointReading, ReadsThePixelAndEveryColorForm) {
    FakeDesktop desktop(640, 480, 0xFFFFFF);
    desktop.SetPixel(0, 0, 0x0000FF);
    const auto red = ReadCustomPoint(desktop, "0", "0");
    ASSERT_TRUE(red);
    EXPECT_EQ(red->value, 0x0000FF);
    const ColorTexts expected{"0000FF", "255", "FF", "00",  "00", "255",
                              "0",      "0",   "0",  "240", "120"};
    EXPECT_EQ(red->texts, expected);
}

TEST(CustomPointReading, FractionsRoundToTheNearestEvenPixel) {
    FakeDesktop desktop(640, 480, 0);
    desktop.SetPixel(10, 12, 0x123456);
    const auto color = ReadCustomPoint(desktop, "10.5", "12.5");
    ASSERT_TRUE(color);
    EXPECT_EQ(color->value, 0x123456);
}

TEST(CustomPointReading, StopsOnMissingBadOrOffScreenCoordinates) {
    FakeDesktop desktop(640, 480, 0xFFFFFF);
    EXPECT_FALSE(ReadCustomPoint(desktop, "", "5"));
    EXPECT_FALSE(ReadCustomPoint(desktop, "5", ""));
    EXPECT_FALSE(ReadCustomPoint(desktop, "x", "5"));
    EXPECT_FALSE(ReadCustomPoint(desktop, "5", "1,2"));
    EXPECT_FALSE(ReadCustomPoint(desktop, "-5", "5"));
    EXPECT_FALSE(ReadCustomPoint(desktop, "640", "0"));
    EXPECT_FALSE(ReadCustomPoint(desktop, "9999", "9999"));
}

} // namespace
} // namespace huegrab
