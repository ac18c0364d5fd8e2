// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/app/app_fixture.h"

#include <QLabel>

namespace huegrab {
namespace {

using OffsetControlsTest = AppFixture;

TEST_F(OffsetControlsTest, ButtonsFollowTheCheckBoxAndTheAmountIsKept) {
    QWidget* plus = form->Control("Command3");
    QWidget* minus = form->Control("Command4");
    EXPECT_FALSE(plus->isEnabled());
    EXPECT_FALSE(minus->isEnabled());
    EXPECT_EQ(Text("Label10"), "-2");
    EXPECT_EQ(controller->State().offset.PickOffset(), 0);

    Click("Check2");
    EXPECT_TRUE(plus->isEnabled());
    EXPECT_TRUE(minus->isEnabled());
    EXPECT_EQ(controller->State().offset.PickOffset(), -2);

    for (int i = 0; i < 7; ++i)
        Click("Command3");
    EXPECT_EQ(Text("Label10"), "5");
    EXPECT_EQ(controller->State().offset.PickOffset(), 5);

    Click("Check2");
    EXPECT_FALSE(plus->isEnabled());
    EXPECT_EQ(controller->State().offset.PickOffset(), 0);
    EXPECT_EQ(Text("Label10"), "5");
    Click("Check2");
    EXPECT_EQ(controller->State().offset.PickOffset(), 5);
}

TEST_F(OffsetControlsTest, AmountStopsAtTheLimits) {
    Click("Check2");
    for (int i = 0; i < 12; ++i)
        Click("Command3");
    EXPECT_EQ(Text("Label10"), "9");
    for (int i = 0; i < 20; ++i)
        Click("Command4");
    EXPECT_EQ(Text("Label10"), "-9");
    EXPECT_EQ(controller->State().offset.PickOffset(), -9);
}

TEST_F(OffsetControlsTest, TheTickSamplesOnTheDiagonal) {
    desktop.SetPixel(98, 198, 0x00FF00);
    desktop.pointer = {100, 200};
    Click("Check2");
    Click("Check1");
    ASSERT_TRUE(WaitForTick());
    Click("Check1");
    EXPECT_EQ(Text("得x"), "98");
    EXPECT_EQ(Text("得y"), "198");
    EXPECT_EQ(Text("得16"), "00FF00");
    EXPECT_EQ(Text("Label9"), "x:100  y:200");
}

} // namespace
} // namespace huegrab
