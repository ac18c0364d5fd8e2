// SPDX-License-Identifier: GPL-3.0-or-later
// Text forms, the sample record and RgbToHsl on chosen colours.

#include "color/color_model.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace huegrab {
namespace {

struct KnownColor {
    int r, g, b;
    ColorValue value;
    const char* hex;
    int h, s, l;
};

// Whole-chain cases: components, value, hex text and H, S, L agree.
constexpr KnownColor kKnownColors[] = {
    {0, 0, 0, 0, "000000", 160, 0, 0},
    {255, 255, 255, 16777215, "FFFFFF", 160, 0, 240},
    {128, 128, 128, 8421504, "808080", 160, 0, 120},
    {192, 192, 192, 12632256, "C0C0C0", 160, 0, 181},
    {255, 0, 0, 255, "0000FF", 0, 240, 120},
    {0, 255, 0, 65280, "00FF00", 80, 240, 120},
    {0, 0, 255, 16711680, "FF0000", 160, 240, 120},
    {255, 255, 0, 65535, "00FFFF", 40, 240, 120},
    {255, 128, 0, 33023, "0080FF", 20, 240, 120},
    {255, 0, 1, 65791, "0100FF", 240, 240, 120},
    {254, 255, 255, 16777214, "FFFFFE", 120, 240, 240},
    {1, 0, 0, 1, "000001", 0, 240, 0},
    {100, 150, 200, 13145700, "C89664", 140, 114, 141},
    {0, 1, 16, 1048832, "100100", 158, 240, 8},
    {1, 63, 5, 343809, "053F01", 83, 232, 30},
};

TEST(ColorModel, KnownColorsThroughEveryForm) {
    for (const KnownColor& c : kKnownColors) {
        SCOPED_TRACE(testing::Message() << c.r << "," << c.g << "," << c.b);
        EXPECT_EQ(c.r | (c.g << 8) | (c.b << 16), c.value);
        EXPECT_EQ(ColorToHexText(c.value), c.hex);
        const HslColor hsl =
            RgbToHsl(static_cast<std::int16_t>(c.r), static_cast<std::int16_t>(c.g),
                     static_cast<std::int16_t>(c.b));
        EXPECT_EQ(hsl, (HslColor{static_cast<std::int16_t>(c.h), static_cast<std::int16_t>(c.s),
                                 static_cast<std::int16_t>(c.l)}));

        const ColorSample sample = MakeColorSample(7, -3, c.value);
        EXPECT_EQ(sample.x, 7);
        EXPECT_EQ(sample.y, -3);
        EXPECT_EQ(sample.hex, c.hex);
        EXPECT_EQ(sample.rHex, std::string(c.hex).substr(4, 2));
        EXPECT_EQ(sample.gHex, std::string(c.hex).substr(2, 2));
        EXPECT_EQ(sample.bHex, std::string(c.hex).substr(0, 2));
        EXPECT_EQ(sample.r, c.r);
        EXPECT_EQ(sample.g, c.g);
        EXPECT_EQ(sample.b, c.b);
        EXPECT_EQ(sample.h, c.h);
        EXPECT_EQ(sample.s, c.s);
        EXPECT_EQ(sample.l, c.l);
    }
}

TEST(RgbToHsl, HalfwayCasesFollowTheFloatRoundings) {
    // Both lie exactly halfway in exact arithmetic; an all-double
    // computation gives hue 157 and saturation 233.
    EXPECT_EQ(RgbToHsl(0, 1, 16).h, 158);
    EXPECT_EQ(RgbToHsl(1, 63, 5).s, 232);
}

TEST(RgbToHsl, EveryGreyHasHue160AndNoSaturation) {
    for (int v = 0; v <= 255; ++v) {
        const auto c = static_cast<std::int16_t>(v);
        const HslColor hsl = RgbToHsl(c, c, c);
        EXPECT_EQ(hsl.h, 160) << v;
        EXPECT_EQ(hsl.s, 0) << v;
        EXPECT_EQ(hsl.l, static_cast<int>(std::nearbyint(v * 240.0 / 255.0))) << v;
    }
}

TEST(RgbToHsl, HueWrapsToTopOfScaleAndTiesPickFirstMaximum) {
    // A trace of blue on red is just below a full turn: 240, never folded to 0.
    EXPECT_EQ(RgbToHsl(255, 0, 1).h, 240);
    EXPECT_EQ(RgbToHsl(200, 0, 1).h, 240);
    EXPECT_EQ(RgbToHsl(255, 1, 0).h, 0);
    // Two components sharing the maximum.
    EXPECT_EQ(RgbToHsl(255, 255, 0).h, 40);
    EXPECT_EQ(RgbToHsl(0, 255, 255).h, 120);
    EXPECT_EQ(RgbToHsl(255, 0, 255).h, 200);
    EXPECT_EQ(RgbToHsl(10, 10, 5).h, 40);
}

TEST(RgbToHsl, SaturationFormulaSwitchesAtLightnessOneHalf) {
    // L = 0.5 exactly takes the upper formula; at Max + Min = 1 both agree.
    EXPECT_EQ(RgbToHsl(255, 0, 0).s, 240);
    EXPECT_EQ(RgbToHsl(204, 51, 51).s, 144);
    // Just below one half: Delta / (Max + Min) = 152 / 254 -> 143.6; the
    // upper formula would give 142.5 -> 142 or 143.
    EXPECT_EQ(RgbToHsl(203, 51, 51).s, 144);
    // Just above: Delta / (2 - Max - Min) = 154 / 254 -> 145.5; the lower
    // formula would give 144.4.
    EXPECT_EQ(RgbToHsl(205, 51, 51).s, 146);
}

TEST(ColorToHexText, KeepsLastSixDigitsOfAnyValue) {
    EXPECT_EQ(ColorToHexText(-1), "FFFFFF");
    EXPECT_EQ(ColorToHexText(0x1000000), "000000");
    EXPECT_EQ(ColorToHexText(0x12ABCDEF), "ABCDEF");
    EXPECT_EQ(ColorToHexText(std::numeric_limits<ColorValue>::max()), "FFFFFF");
    EXPECT_EQ(ColorToHexText(std::numeric_limits<ColorValue>::min()), "000000");
    EXPECT_EQ(ColorToHexText(-256), "FFFF00");
    EXPECT_EQ(ColorToHexText(0xabcdef), "ABCDEF");
}

TEST(MakeColorSample, InvalidAndOversizedValues) {
    const ColorSample invalid = MakeColorSample(1, 2, kInvalidColor);
    EXPECT_EQ(invalid.value, -1);
    EXPECT_EQ(invalid.hex, "FFFFFF");
    EXPECT_EQ(invalid.r, 255);
    EXPECT_EQ(invalid.g, 255);
    EXPECT_EQ(invalid.b, 255);
    EXPECT_EQ(invalid.h, 160);
    EXPECT_EQ(invalid.s, 0);
    EXPECT_EQ(invalid.l, 240);

    const ColorSample big = MakeColorSample(0, 0, 0x1000000 | 255);
    EXPECT_EQ(big.value, 0x1000000 | 255);
    EXPECT_EQ(big.hex, "0000FF");
    EXPECT_EQ(big.r, 255);
    EXPECT_EQ(big.h, 0);
    EXPECT_EQ(big.s, 240);
}

TEST(SplitHexText, TakesPairsByPositionAndNeverReadsPastTheText) {
    EXPECT_EQ(SplitHexText("C89664"), (HexPairs{"64", "96", "C8"}));
    EXPECT_EQ(SplitHexText("ABCD"), (HexPairs{"", "CD", "AB"}));
    EXPECT_EQ(SplitHexText("ABCDE"), (HexPairs{"E", "CD", "AB"}));
    EXPECT_EQ(SplitHexText(""), (HexPairs{"", "", ""}));
    EXPECT_EQ(SplitHexText("1234567"), (HexPairs{"56", "34", "12"}));
}

} // namespace
} // namespace huegrab
