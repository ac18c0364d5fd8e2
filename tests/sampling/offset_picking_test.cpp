// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/offset_picking.h"

#include <gtest/gtest.h>

namespace huegrab {
namespace {

TEST(OffsetPicking, StartsOffWithMinusTwoShownButNoOffset) {
    OffsetPicking offset;
    EXPECT_EQ(offset.Caption(), "-2");
    EXPECT_EQ(offset.PickOffset(), 0);
    offset.SetEnabled(true);
    EXPECT_EQ(offset.PickOffset(), -2);
}

TEST(OffsetPicking, PlusRunsUpToNineAndStops) {
    OffsetPicking offset;
    offset.SetEnabled(true);
    std::vector<std::string> captions;
    for (int i = 0; i < 11; ++i) {
        EXPECT_TRUE(offset.Increase());
        captions.push_back(offset.Caption());
        EXPECT_EQ(offset.PickOffset(), offset.Amount());
    }
    EXPECT_EQ(captions.front(), "-1");
    EXPECT_EQ(captions[1], "0");
    EXPECT_EQ(captions.back(), "9");
    EXPECT_FALSE(offset.Increase());
    EXPECT_EQ(offset.Caption(), "9");
    EXPECT_EQ(offset.PickOffset(), 9);
}

TEST(OffsetPicking, MinusRunsDownToMinusNineAndStops) {
    OffsetPicking offset;
    offset.SetEnabled(true);
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(offset.Decrease());
    EXPECT_EQ(offset.Caption(), "-9");
    EXPECT_FALSE(offset.Decrease());
    EXPECT_EQ(offset.PickOffset(), -9);
}

TEST(OffsetPicking, SwitchingOffKeepsTheAmountForNextTime) {
    OffsetPicking offset;
    offset.SetEnabled(true);
    for (int i = 0; i < 7; ++i)
        offset.Increase();
    ASSERT_EQ(offset.Caption(), "5");
    offset.SetEnabled(false);
    EXPECT_EQ(offset.PickOffset(), 0);
    EXPECT_EQ(offset.Caption(), "5");
    offset.SetEnabled(true);
    EXPECT_EQ(offset.PickOffset(), 5);
}

} // namespace
} // namespace huegrab
