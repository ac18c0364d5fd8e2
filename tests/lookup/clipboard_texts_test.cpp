// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the copy and paste buttons, without a window.

#include "lookup/clipboard_texts.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>

namespace huegrab {
namespace {

TEST(ClipboardTexts, CopiesJoinOrQuoteTheFieldTextsAsTheyAre) {
    const struct {
        std::string made;
        std::string expected;
    } cases[] = {
        {PointCopyText("12", "34"), "12,34"},
        {PointCopyText("-5", ""), "-5,"},
        {PointCopyText("", ""), ","},
        {ComponentsCopyText("255", "0", "0"), "255,0,0"},
        {ComponentsCopyText("0", "240", "120"), "0,240,120"},
        {ComponentsCopyText("", "", ""), ",,"},
        {QuotedCopyText("00FF00"), "\"00FF00\""},
        {QuotedCopyText("a \"title\", with, commas"), "\"a \"title\", with, commas\""},
        {QuotedCopyText(""), "\"\""},
        {QuotedCopyText("标题"), "\"标题\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.made, c.expected);
}

TEST(ClipboardTexts, APastedPointNeedsExactlyOneCommaAndLosesOnlySpaces) {
    const struct {
        std::string text;
        std::optional<PastedPoint> expected;
    } cases[] = {
        {"100,200", PastedPoint{"100", "200"}},
        {"  100 ,  200  ", PastedPoint{"100", "200"}},
        {"12345,6", PastedPoint{"12345", "6"}}, // the fields cut, not the split
        {"a,b", PastedPoint{"a", "b"}},         // not checked for being numbers
        {",", PastedPoint{"", ""}},
        {"   ,   ", PastedPoint{"", ""}},
        {"\t7,8\t", PastedPoint{"\t7", "8\t"}}, // only spaces are trimmed
        {"3,4\n", PastedPoint{"3", "4\n"}},
        {std::string("1\0,2", 4), PastedPoint{std::string("1\0", 2), "2"}},
        {"100,200,300", std::nullopt},
        {",,", std::nullopt},
        {"100", std::nullopt},
        {"100;200", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitPastedPoint(c.text), c.expected) << "'" << c.text << "'";
}

TEST(ClipboardTexts, APastedHandleIsTheLeadingNumberInItsShortestForm) {
    const struct {
        std::string text;
        std::string expected;
    } cases[] = {
        {"", "0"},
        {"123abc", "123"},
        {"  -42", "-42"},
        {"2.5", "2.5"},
        {"abc123", "0"},
        {"1 2 3", "123"},
        {"65011712\r\n", "65011712"},
        {"[001]5=x", "0"},            // a whole list line is no number
        {" 0x1E00007\n", "31457287"}, // as xwininfo and wmctrl print ids
        {"0x1e00007", "31457287"},
        {"0X1f", "31"},
        {"0x", "0"},
        {"0xg1", "0"},
        {"10x1", "10"},
        {"-0x10", "0"}, // no sign before "0x": the number ends at "x"
        {"&H10", "16"},
        {"1e3", "1000"},
        // Only the first 32767 characters are read.
        {std::string(32766, ' ') + "5", "5"},
        {std::string(32767, ' ') + "5", "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PastedHandleText(c.text), c.expected) << "'" << c.text.substr(0, 20) << "'";
}

TEST(ClipboardTexts, AHandleRoundsHalfToEvenWithinTheSignedThirtyTwoBitRange) {
    constexpr WindowHandle kLowest = std::numeric_limits<WindowHandle>::min();
    constexpr WindowHandle kHighest = std::numeric_limits<WindowHandle>::max();
    const struct {
        std::string text;
        std::optional<WindowHandle> expected;
    } cases[] = {
        {"4", 4},
        {"2.5", 2}, // ties go to the even handle
        {"3.5", 4},
        {"-2.5", -2},
        {"4.4", 4},
        {"4abc", 4},
        {"0x4", 4},
        {"", 0},
        {"abc", 0},
        {"-2147483648", kLowest},
        {"-2147483648.5", kLowest},
        {"2147483647", kHighest},
        {"2147483647.4", kHighest},
        {"0x7FFFFFFF", kHighest},
        {"2147483647.5", std::nullopt}, // rounds up to 2^31
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"1e300", std::nullopt},
        {"0x80000000", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HandleFromText(c.text), c.expected) << "'" << c.text << "'";
}

} // namespace
} // namespace huegrab
