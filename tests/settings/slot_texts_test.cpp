// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/slot_texts.h"

#include <gtest/gtest.h>

namespace huegrab {
namespace {

TEST(ParseWholeNumber, AcceptsBlanksSignAndDigitsOnly) {
    for (const char* text :
         {"0", "255", "+7", "-1", " 12 ", "\t-3\t", "007", "-0", "99999999999999999999999"}) {
        EXPECT_TRUE(ParseWholeNumber(text).has_value()) << text;
    }
    for (const char* text : {"", " ", "-", "+", "1.5", "5.0", "0x10", "&HFF", "1 2", "1e3", "--1",
                             "+-1", "12a", "١٢"}) {
        EXPECT_FALSE(ParseWholeNumber(text).has_value()) << text;
    }
    const auto huge = ParseWholeNumber("-99999999999999999999999");
    ASSERT_TRUE(huge.has_value());
    EXPECT_TRUE(huge->negative);
    EXPECT_TRUE(huge->tooLarge);
    EXPECT_EQ(huge->low24, 0x7FFFFFu);
    const auto edge = ParseWholeNumber("18446744073709551615");
    ASSERT_TRUE(edge.has_value());
    EXPECT_FALSE(edge->tooLarge);
    EXPECT_TRUE(ParseWholeNumber("18446744073709551616")->tooLarge);
}

TEST(StoredColor, PaintsInRangeValuesAndBlackForOtherWholeNumbers) {
    EXPECT_EQ(StoredColorPaint("255"), 255);
    EXPECT_EQ(StoredColorPaint("16777215"), 0xFFFFFF);
    EXPECT_EQ(StoredColorPaint("-0"), 0);
    EXPECT_EQ(StoredColorPaint("-1"), 0);
    EXPECT_EQ(StoredColorPaint("16777216"), 0);
    EXPECT_EQ(StoredColorPaint("99999999999999999999999"), 0);
    EXPECT_EQ(StoredColorPaint(""), std::nullopt);
    EXPECT_EQ(StoredColorPaint("red"), std::nullopt);
}

TEST(StoredColor, HexTextIsTheLastSixDigitsOfTheNumber) {
    EXPECT_EQ(StoredColorHexText("255"), "0000FF");
    EXPECT_EQ(StoredColorHexText("16711680"), "FF0000");
    EXPECT_EQ(StoredColorHexText("-1"), "FFFFFF");
    EXPECT_EQ(StoredColorHexText("-16777217"), "FFFFFF");
    EXPECT_EQ(StoredColorHexText("16777216"), "000000");
    EXPECT_EQ(StoredColorHexText("4294967295"), "FFFFFF");
    EXPECT_EQ(StoredColorHexText("99999999999999999999999"), "7FFFFF");
    EXPECT_EQ(StoredColorHexText("-99999999999999999999999"), "800001");
    EXPECT_EQ(StoredColorHexText("1.0"), "");
}

TEST(ComponentHexText, UpperCaseWithoutLeadingZerosAnd32BitForNegatives) {
    EXPECT_EQ(ComponentHexText("5"), "5");
    EXPECT_EQ(ComponentHexText("05"), "5");
    EXPECT_EQ(ComponentHexText("0"), "0");
    EXPECT_EQ(ComponentHexText("171"), "AB");
    EXPECT_EQ(ComponentHexText("255"), "FF");
    EXPECT_EQ(ComponentHexText("256"), "100");
    EXPECT_EQ(ComponentHexText("4294967295"), "FFFFFFFF");
    EXPECT_EQ(ComponentHexText("4294967296"), "");
    EXPECT_EQ(ComponentHexText("-1"), "FFFFFFFF");
    EXPECT_EQ(ComponentHexText("-2147483648"), "80000000");
    EXPECT_EQ(ComponentHexText("-2147483649"), "");
    EXPECT_EQ(ComponentHexText("-0"), "0");
    EXPECT_EQ(ComponentHexText(""), "");
    EXPECT_EQ(ComponentHexText("FF"), "");
}

} // namespace
} // namespace huegrab
