// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/color_code_lookup.h"

#include <gtest/gtest.h>

namespace huegrab {
namespace {

constexpr auto kHex = CodeInput::Hexadecimal;
constexpr auto kDecimal = CodeInput::Decimal;

void ExpectNothingChanges(const LookupOutcome& outcome) {
    EXPECT_FALSE(outcome.swatch);
    EXPECT_FALSE(outcome.results);
    EXPECT_FALSE(outcome.hexCode);
    EXPECT_FALSE(outcome.decimalCode);
}

TEST(ColorCodeLookup, HexInputPadsUpperCasesAndFillsBothForms) {
    const LookupOutcome ff = LookUpColorCode(kHex, "ff", "");
    EXPECT_EQ(ff.hexCode, "0000FF");
    EXPECT_EQ(ff.decimalCode, "255");
    EXPECT_EQ(ff.swatch, 0x0000FF);
    ASSERT_TRUE(ff.results);
    EXPECT_EQ(ff.results->r, "255");
    EXPECT_EQ(ff.results->g, "0");
    EXPECT_EQ(ff.results->b, "0");
    EXPECT_EQ(ff.results->h, "0");
    EXPECT_EQ(ff.results->s, "240");
    EXPECT_EQ(ff.results->l, "120");

    const LookupOutcome one = LookUpColorCode(kHex, "1", "");
    EXPECT_EQ(one.hexCode, "000001");
    EXPECT_EQ(one.results->r, "1");
    EXPECT_EQ(one.results->l, "0");

    const LookupOutcome white = LookUpColorCode(kHex, "FFFFFF", "");
    EXPECT_EQ(white.decimalCode, "16777215");
    EXPECT_EQ(white.swatch, 0xFFFFFF);
    EXPECT_EQ(white.results->h, "160");
    EXPECT_EQ(white.results->s, "0");
    EXPECT_EQ(white.results->l, "240");

    // Blue comes first in the code.
    EXPECT_EQ(LookUpColorCode(kHex, "ff0000", "").results->b, "255");
}

TEST(ColorCodeLookup, HexInputThatDoesNotConvertChangesNothing) {
    for (const char* text : {"", "GG", "12G", "1234567", "-1"})
        ExpectNothingChanges(LookUpColorCode(kHex, text, "255"));
}

TEST(ColorCodeLookup, DecimalInputRewritesOnlyTheHexField) {
    const LookupOutcome blue = LookUpColorCode(kDecimal, "", "16711680");
    EXPECT_EQ(blue.hexCode, "FF0000");
    EXPECT_EQ(blue.swatch, 0xFF0000);
    EXPECT_EQ(blue.results->b, "255");
    EXPECT_FALSE(blue.decimalCode); // the typed text stays as typed

    const LookupOutcome padded = LookUpColorCode(kDecimal, "", "0255");
    EXPECT_EQ(padded.hexCode, "0000FF");
    EXPECT_FALSE(padded.decimalCode);

    EXPECT_EQ(LookUpColorCode(kDecimal, "", "12.5").hexCode, "00000C");
}

TEST(ColorCodeLookup, DecimalAboveTheColorRangeOnlyRewritesTheHexField) {
    const LookupOutcome outcome = LookUpColorCode(kDecimal, "ABC", "16777216");
    EXPECT_EQ(outcome.hexCode, "000000");
    EXPECT_FALSE(outcome.swatch);
    EXPECT_FALSE(outcome.results);
    EXPECT_EQ(LookUpColorCode(kDecimal, "", "999999999").hexCode, "9AC9FF");
}

TEST(ColorCodeLookup, DecimalThatDoesNotConvertOrIsNegativeChangesNothing) {
    for (const char* text : {"", "abc", "-1", "-16777215", "99999999999"})
        ExpectNothingChanges(LookUpColorCode(kDecimal, "FF", text));
}

} // namespace
} // namespace huegrab
