// SPDX-License-Identifier: GPL-3.0-or-later
// The two parsers of typed colour codes.

#include "color/color_model.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace huegrab {
namespace {

TEST(ParseHexColorText, ReadsOneToSixDigitsOfEitherCase) {
    EXPECT_EQ(ParseHexColorText("ff"), 255);
    EXPECT_EQ(ParseHexColorText("FF"), 255);
    EXPECT_EQ(ParseHexColorText("0000FF"), 255);
    EXPECT_EQ(ParseHexColorText("1"), 1);
    EXPECT_EQ(ParseHexColorText("0"), 0);
    EXPECT_EQ(ParseHexColorText("FFFFFF"), 0xFFFFFF);
    EXPECT_EQ(ParseHexColorText("aBcDeF"), 0xABCDEF);
    EXPECT_EQ(ParseHexColorText("FF0000"), 16711680);
    EXPECT_EQ(ParseHexColorText(" \tff  "), 255);
    EXPECT_EQ(ParseHexColorText("FF\r\n"), 255); // copied from a terminal
}

TEST(ParseHexColorText, RejectsAnythingElse) {
    for (const char* text : {"", " ", "\t", "GG", "FG", "1234567", "0000000", "-1", "+1", "&HFF",
                             "0xFF", "F F", "F\nF", "12.5", "ＦＦ", "#FF"}) {
        EXPECT_EQ(ParseHexColorText(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(ParseDecimalText, RoundsHalfToEven) {
    EXPECT_EQ(ParseDecimalText("12.5"), 12);
    EXPECT_EQ(ParseDecimalText("13.5"), 14);
    EXPECT_EQ(ParseDecimalText("-0.5"), 0);
    EXPECT_EQ(ParseDecimalText("-1.5"), -2);
    EXPECT_EQ(ParseDecimalText("-2.5"), -2);
    EXPECT_EQ(ParseDecimalText("2.50000000001"), 3);
    EXPECT_EQ(ParseDecimalText("2.4999999999"), 2);
    EXPECT_EQ(ParseDecimalText("0.5" + std::string(400, '0') + "1"), 1);
    EXPECT_EQ(ParseDecimalText("0.5" + std::string(400, '0')), 0);
    EXPECT_EQ(ParseDecimalText(".6"), 1);
    EXPECT_EQ(ParseDecimalText("7."), 7);
}

TEST(ParseDecimalText, ReadsSignsLeadingZerosAndBlanks) {
    EXPECT_EQ(ParseDecimalText("0255"), 255);
    EXPECT_EQ(ParseDecimalText("16711680"), 16711680);
    EXPECT_EQ(ParseDecimalText("+7"), 7);
    EXPECT_EQ(ParseDecimalText("-7"), -7);
    EXPECT_EQ(ParseDecimalText("-0"), 0);
    EXPECT_EQ(ParseDecimalText("  42\t"), 42);
    EXPECT_EQ(ParseDecimalText("240\r\n"), 240); // copied from a terminal
    EXPECT_EQ(ParseDecimalText(std::string(400, '0') + "1"), 1);
}

TEST(ParseDecimalText, KeepsToTheSigned32BitRange) {
    EXPECT_EQ(ParseDecimalText("2147483647"), 2147483647);
    EXPECT_EQ(ParseDecimalText("2147483647.4999"), 2147483647);
    EXPECT_EQ(ParseDecimalText("-2147483648"), -2147483647 - 1);
    // Halfway rounds to the even -2147483648, which is still in range.
    EXPECT_EQ(ParseDecimalText("-2147483648.5"), -2147483647 - 1);
    EXPECT_EQ(ParseDecimalText("2147483648"), std::nullopt);
    EXPECT_EQ(ParseDecimalText("2147483647.5"), std::nullopt);
    EXPECT_EQ(ParseDecimalText("-2147483648.6"), std::nullopt);
    EXPECT_EQ(ParseDecimalText("-2147483649"), std::nullopt);
    EXPECT_EQ(ParseDecimalText("9999999999"), std::nullopt);
    EXPECT_EQ(ParseDecimalText("99999999999"), std::nullopt);
    EXPECT_EQ(ParseDecimalText("18446744073709551616"), std::nullopt);
    EXPECT_EQ(ParseDecimalText(std::string(400, '9')), std::nullopt);
    EXPECT_EQ(ParseDecimalText("-" + std::string(400, '9') + ".5"), std::nullopt);
}

TEST(ParseDecimalText, RejectsWhatIsNotAPlainNumber) {
    for (const char* text : {"", "  ", "-", "+", ".", "-.", "+-1", "--1", "1e3", "1,000", "1 000",
                             "&H10", "0x10", "12abc", "1.2.3", "abc", "1-", "5\n5", "١٢"}) {
        EXPECT_EQ(ParseDecimalText(text), std::nullopt) << '"' << text << '"';
    }
}

} // namespace
} // namespace huegrab
