// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/form_colors.h"
#include "tests/app/app_fixture.h"

#include <QRadioButton>

namespace huegrab {
namespace {

using LookupPage = AppFixture;

TEST_F(LookupPage, HexCodeShowsItsColorAndBothForms) {
    Type("查10", "0000ff");
    Click("Command1");
    EXPECT_EQ(BackColor(form->Control("查颜色")), 0x0000FF);
    EXPECT_EQ(Text("查10"), "0000FF");
    EXPECT_EQ(Text("查16"), "255");
    const std::pair<const char*, const char*> expected[] = {{"查10r", "255"}, {"查10g", "0"},
                                                            {"查10b", "0"},   {"查10h", "0"},
                                                            {"查10s", "240"}, {"查10l", "120"}};
    for (const auto& [field, text] : expected)
        EXPECT_EQ(Text(field), text) << field;
}

TEST_F(LookupPage, BadCodeChangesNothingNotEvenTheCase) {
    Type("查10", "ff");
    Click("Command1");
    Type("查10", "gg");
    Click("Command1");
    EXPECT_EQ(Text("查10"), "gg");
    EXPECT_EQ(Text("查16"), "255");
    EXPECT_EQ(BackColor(form->Control("查颜色")), 0x0000FF);
}

TEST_F(LookupPage, InputKindSwitchesWhichFieldIsEditable) {
    QLineEdit* hex = form->Field("查10");
    QLineEdit* decimal = form->Field("查16");
    EXPECT_FALSE(hex->isReadOnly());
    EXPECT_TRUE(decimal->isReadOnly());

    Click("Option1", 1);
    ASSERT_TRUE(form->Find<QRadioButton>("Option1", 1)->isChecked());
    EXPECT_TRUE(hex->isReadOnly());
    EXPECT_FALSE(decimal->isReadOnly());
    EXPECT_EQ(BackColor(hex), 0xE1E1E1);
    EXPECT_EQ(BackColor(decimal), 0xFFFFFF);

    Type("查16", "16777216");
    Click("Command1");
    EXPECT_EQ(Text("查10"), "000000");
    EXPECT_EQ(Text("查16"), "16777216");
    EXPECT_EQ(Text("查10r"), ""); // results untouched

    Click("Option1", 0);
    EXPECT_FALSE(hex->isReadOnly());
    EXPECT_TRUE(decimal->isReadOnly());
}

TEST_F(LookupPage, TypingStopsAtEachFieldsLength) {
    Type("查10", "1234567890");
    EXPECT_EQ(Text("查10"), "123456");
    Click("Option1", 1);
    Type("查16", "12345678901");
    EXPECT_EQ(Text("查16"), "123456789");
    Type("自x", "123456");
    EXPECT_EQ(Text("自x"), "1234");
}

TEST_F(LookupPage, CustomPointReadsOnceWhetherOrNotTracking) {
    desktop.SetPixel(7, 9, 0x0000FF);
    Type("自x", "7");
    Type("自y", "9");
    Click("Command2");
    EXPECT_EQ(BackColor(form->Control("自颜色")), 0x0000FF);
    const std::pair<const char*, const char*> expected[] = {
        {"自16", "0000FF"}, {"自10", "255"},  {"自16r", "FF"}, {"自16g", "00"},
        {"自16b", "00"},    {"自10r", "255"}, {"自10g", "0"},  {"自10b", "0"},
        {"自10h", "0"},     {"自10s", "240"}, {"自10l", "120"}};
    for (const auto& [field, text] : expected)
        EXPECT_EQ(Text(field), text) << field;
    EXPECT_EQ(Text("得10"), ""); // the live readout is not touched

    Type("自x", "-5");
    Click("Command2");
    Type("自x", "");
    Click("Command2");
    EXPECT_EQ(Text("自16"), "0000FF");

    // Coordinates copied from a terminal end in a line break.
    desktop.SetPixel(3, 4, 0x00FF00);
    shell.clipboard = "3,4\n";
    Click("Command11", 1);
    Click("Command2");
    EXPECT_EQ(Text("自16"), "00FF00");
}

} // namespace
} // namespace huegrab
