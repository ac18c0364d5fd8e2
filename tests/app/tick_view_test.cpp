// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/form_colors.h"
#include "app/form/magnifier_grid.h"
#include "tests/app/app_fixture.h"

#include <QCheckBox>

namespace huegrab {
namespace {

constexpr ColorValue kRed = 0x0000FF;

class TickView : public AppFixture {
protected:
    void TickOnce() {
        Click("Check1");
        ASSERT_TRUE(WaitForTick());
        Click("Check1");
    }
};

TEST_F(TickView, WritesEveryPickedFieldTheSwatchTheSlotAndTheMagnifier) {
    desktop.SetPixel(100, 200, kRed);
    desktop.pointer = {100, 200};
    TickOnce();

    EXPECT_EQ(Text("Label9"), "x:100  y:200");
    const std::pair<const char*, const char*> expected[] = {
        {"得x", "100"},  {"得y", "200"},   {"得16", "0000FF"}, {"得10", "255"}, {"得16r", "FF"},
        {"得16g", "00"}, {"得16b", "00"},  {"得10r", "255"},   {"得10g", "0"},  {"得10b", "0"},
        {"得10h", "0"},  {"得10s", "240"}, {"得10l", "120"}};
    for (const auto& [field, text] : expected)
        EXPECT_EQ(Text(field), text) << field;
    EXPECT_EQ(BackColor(form->Control("得颜色")), kRed);
    EXPECT_EQ(BackColor(form->Control("色块", 0)), kRed);
    EXPECT_EQ(BackColor(form->Control("色块", 1)), BackColor(form->Control("色块", 2)));
    ASSERT_NE(form->Controls().picked.magnifier, nullptr);
    EXPECT_EQ(form->Controls().picked.magnifier->Cell(60), kRed);
    EXPECT_EQ(form->Controls().picked.magnifier->Cell(0), 0xFFFFFF);
}

TEST_F(TickView, UnreadablePointPaintsBlackAndShowsMinusOne) {
    desktop.pointer = {0, 0};
    Click("Check2"); // offset picking on: -2
    TickOnce();
    EXPECT_EQ(Text("得10"), "-1");
    EXPECT_EQ(Text("得16"), "FFFFFF");
    EXPECT_EQ(Text("得10h"), "160");
    EXPECT_EQ(BackColor(form->Control("得颜色")), 0);
    EXPECT_EQ(BackColor(form->Control("色块", 0)), 0);
    EXPECT_EQ(form->Controls().picked.magnifier->Cell(60), 0);
}

TEST_F(TickView, OriginRelativeCoordinatesFollowTheOriginFields) {
    desktop.pointer = {250, 40};
    Type("起x", "10.5");
    Type("起y", "abc");
    Click("Check3");
    ASSERT_TRUE(form->Find<QCheckBox>("Check3")->isChecked());
    TickOnce();
    EXPECT_EQ(Text("得x"), "239.5");
    EXPECT_EQ(Text("得y"), "40");
}

TEST_F(TickView, ArrowKeyHeldInAnotherProgramNudgesThePointer) {
    desktop.pointer = {50, 50};
    desktop.keysDown = {vk::kDown};
    TickOnce();
    EXPECT_EQ(desktop.pointer, (ScreenPoint{50, 51}));
    EXPECT_EQ(Text("Label9"), "x:50  y:50");
}

} // namespace
} // namespace huegrab
