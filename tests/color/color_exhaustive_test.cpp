// SPDX-License-Identifier: GPL-3.0-or-later
// Checks over all 2^24 colours: RgbToHsl against a second, independent
// transcription of the same float/double rounding rules, and the text forms
// against plain bit arithmetic.

#include "color/color_model.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace huegrab {
namespace {

constexpr int kColorCount = 1 << 24;

// Sanitizer builds run the text checks several times slower than the test's
// time limit allows for every colour, so they step through the colours
// instead. The step is odd and prime, so every value of each component is
// still met, and 0xFFFFFF is a multiple of it.
#if defined(__SANITIZE_ADDRESS__)
#define HUEGRAB_SANITIZED_BUILD 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HUEGRAB_SANITIZED_BUILD 1
#endif
#endif
#ifdef HUEGRAB_SANITIZED_BUILD
constexpr int kTextCheckStride = 7;
#else
constexpr int kTextCheckStride = 1;
#endif
static_assert((kColorCount - 1) % kTextCheckStride == 0);

// x * 240 rounded to nearest, ties to even, without the library rounding.
int Scale240(double fraction) {
    const double x = fraction * 240.0;
    const double below = std::floor(x);
    const double rest = x - below;
    auto n = static_cast<int>(below);
    if (rest > 0.5 || (rest == 0.5 && n % 2 != 0)) {
        ++n;
    }
    return n;
}

struct Hsl {
    int h, s, l;
    friend bool operator==(const Hsl&, const Hsl&) = default;
};

// Each quantity lives in a volatile float, so every assignment really stores
// and rounds; the maximum is found on the integers and greys by equality.
Hsl ReferenceFloatSteps(int r, int g, int b) {
    volatile float rf = r / 255.0;
    volatile float gf = g / 255.0;
    volatile float bf = b / 255.0;
    const int top = std::max({r, g, b});
    const int bottom = std::min({r, g, b});
    volatile float max = top == r ? rf : (top == g ? gf : bf);
    volatile float min = bottom == r ? rf : (bottom == g ? gf : bf);
    volatile float delta = static_cast<double>(max) - static_cast<double>(min);
    volatile float light = (static_cast<double>(max) + static_cast<double>(min)) / 2.0;
    if (top == bottom) {
        return {160, 0, Scale240(light)};
    }
    volatile float sat = 0.0f;
    if (light < 0.5f) {
        sat = static_cast<double>(delta) / (static_cast<double>(max) + static_cast<double>(min));
    } else {
        sat = static_cast<double>(delta) /
              (2.0 - static_cast<double>(max) - static_cast<double>(min));
    }
    const double third = 1.0 / 3.0;
    const double twoThirds = 2.0 / 3.0;
    volatile float dr = ((static_cast<double>(max) - static_cast<double>(rf)) / 6.0 +
                         static_cast<double>(delta) / 2.0) /
                        static_cast<double>(delta);
    volatile float dg = ((static_cast<double>(max) - static_cast<double>(gf)) / 6.0 +
                         static_cast<double>(delta) / 2.0) /
                        static_cast<double>(delta);
    volatile float db = ((static_cast<double>(max) - static_cast<double>(bf)) / 6.0 +
                         static_cast<double>(delta) / 2.0) /
                        static_cast<double>(delta);
    volatile float hue = 0.0f;
    if (r == top) {
        hue = static_cast<double>(db) - static_cast<double>(dg);
    } else if (g == top) {
        double sum = third + static_cast<double>(dr);
        hue = sum - static_cast<double>(db);
    } else {
        double sum = twoThirds + static_cast<double>(dg);
        hue = sum - static_cast<double>(dr);
    }
    if (hue < 0.0f) {
        hue = static_cast<double>(hue) + 1.0;
    }
    if (hue > 1.0f) {
        hue = static_cast<double>(hue) - 1.0;
    }
    return {Scale240(hue), Scale240(sat), Scale240(light)};
}

// The same formulas with every quantity a double.
Hsl AllDouble(int r, int g, int b) {
    const double rd = r / 255.0;
    const double gd = g / 255.0;
    const double bd = b / 255.0;
    const double max = std::max({rd, gd, bd});
    const double min = std::min({rd, gd, bd});
    const double delta = max - min;
    const double light = (max + min) / 2.0;
    if (delta == 0.0) {
        return {160, 0, Scale240(light)};
    }
    const double sat = light < 0.5 ? delta / (max + min) : delta / (2.0 - max - min);
    const double dr = ((max - rd) / 6.0 + delta / 2.0) / delta;
    const double dg = ((max - gd) / 6.0 + delta / 2.0) / delta;
    const double db = ((max - bd) / 6.0 + delta / 2.0) / delta;
    double hue = rd == max ? db - dg : (gd == max ? 1.0 / 3.0 + dr - db : 2.0 / 3.0 + dg - dr);
    if (hue < 0.0) {
        hue += 1.0;
    }
    if (hue > 1.0) {
        hue -= 1.0;
    }
    return {Scale240(hue), Scale240(sat), Scale240(light)};
}

TEST(RgbToHslAllColors, MatchesIndependentTranscriptionAndDiffersFromAllDouble) {
    int mismatches = 0;
    int firstMismatch = -1;
    int differFromDouble = 0;
    int lightDiffersFromDouble = 0;
    bool hueCaseDiffers = false;
    bool saturationCaseDiffers = false;
    for (int value = 0; value < kColorCount; ++value) {
        const int r = value & 0xFF;
        const int g = (value >> 8) & 0xFF;
        const int b = value >> 16;
        const HslColor got = RgbToHsl(static_cast<std::int16_t>(r), static_cast<std::int16_t>(g),
                                      static_cast<std::int16_t>(b));
        const Hsl expected = ReferenceFloatSteps(r, g, b);
        if (Hsl{got.h, got.s, got.l} != expected) {
            if (mismatches++ == 0) {
                firstMismatch = value;
            }
        }
        const Hsl wide = AllDouble(r, g, b);
        if (wide.h != expected.h || wide.s != expected.s) {
            ++differFromDouble;
            hueCaseDiffers |= value == (0 | 1 << 8 | 16 << 16) && wide.h == 157;
            saturationCaseDiffers |= value == (1 | 63 << 8 | 5 << 16) && wide.s == 233;
        }
        lightDiffersFromDouble += wide.l != expected.l;
    }
    EXPECT_EQ(mismatches, 0) << "first at value " << firstMismatch;

    const double share = 100.0 * differFromDouble / kColorCount;
    RecordProperty("percent_differing_from_all_double", std::to_string(share));
    EXPECT_GT(share, 0.4) << differFromDouble << " colours";
    EXPECT_LT(share, 0.8) << differFromDouble << " colours";
    EXPECT_TRUE(hueCaseDiffers);
    EXPECT_TRUE(saturationCaseDiffers);
    // (Max + Min) x 120 is never halfway between integers, so lightness agrees.
    EXPECT_EQ(lightDiffersFromDouble, 0);
}

int ReadHexPair(const std::string& pair) {
    int n = -1;
    const auto [end, error] = std::from_chars(pair.data(), pair.data() + pair.size(), n, 16);
    return error == std::errc{} && end == pair.data() + pair.size() ? n : -1;
}

TEST(ColorTextsAllColors, HexRoundTripAndComponentsMatchTheBits) {
    int mismatches = 0;
    int firstMismatch = -1;
    for (int value = 0; value < kColorCount; value += kTextCheckStride) {
        const ColorSample s = MakeColorSample(0, 0, value);
        const int r = value & 0xFF;
        const int g = (value >> 8) & 0xFF;
        const int b = (value >> 16) & 0xFF;
        const HslColor hsl = RgbToHsl(static_cast<std::int16_t>(r), static_cast<std::int16_t>(g),
                                      static_cast<std::int16_t>(b));
        const bool ok =
            s.hex.size() == 6 && ParseHexColorText(s.hex) == value &&
            std::none_of(s.hex.begin(), s.hex.end(), [](char c) { return c >= 'a' && c <= 'f'; }) &&
            s.rHex.size() == 2 && s.gHex.size() == 2 && s.bHex.size() == 2 &&
            ReadHexPair(s.rHex) == r && ReadHexPair(s.gHex) == g && ReadHexPair(s.bHex) == b &&
            s.r == r && s.g == g && s.b == b && s.h == hsl.h && s.s == hsl.s && s.l == hsl.l;
        if (!ok && mismatches++ == 0) {
            firstMismatch = value;
        }
    }
    EXPECT_EQ(mismatches, 0) << "first at value " << firstMismatch;
}

} // namespace
} // namespace huegrab
