// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace huegrab {

// A desktop colour 0x00BBGGRR: red in the low byte. -1 marks a pixel that
// could not be read; callers test for it with `value < 0`.
using ColorValue = std::int32_t;
inline constexpr ColorValue kInvalidColor = -1;
inline constexpr ColorValue kMaxColor = 0xFFFFFF;

// Hue, saturation and lightness on the 0-240 scale. A grey has hue 160.
struct HslColor {
    std::int16_t h = 0;
    std::int16_t s = 0;
    std::int16_t l = 0;
    friend bool operator==(const HslColor&, const HslColor&) = default;
};

// The three two-digit pairs of a six-digit BBGGRR text.
struct HexPairs {
    std::string r;
    std::string g;
    std::string b;
    friend bool operator==(const HexPairs&, const HexPairs&) = default;
};

// One picked point with every form its colour is shown in.
struct ColorSample {
    std::int32_t x = 0;
    std::int32_t y = 0;
    ColorValue value = 0;
    std::string hex;
    std::string rHex;
    std::string gHex;
    std::string bHex;
    int r = 0;
    int g = 0;
    int b = 0;
    std::int16_t h = 0;
    std::int16_t s = 0;
    std::int16_t l = 0;
};

// Six upper-case digits, BBGGRR; a negative value uses its 32-bit two's
// complement, so -1 gives "FFFFFF". Larger values keep their last six digits.
std::string ColorToHexText(ColorValue value);

// r = last pair, g = middle pair, b = first pair of a six-character text
// (characters 5-6, 3-4 and 1-2). A shorter text gives shorter or empty pairs
// for the positions it lacks; a longer one is read by the same positions.
HexPairs SplitHexText(std::string_view hex);

// Components 0-255 to H, S, L 0-240. Every intermediate is a 32-bit float
// computed in double and rounded when stored; the results are float x 240
// rounded half to even. A grey has hue 160 and saturation 0; hue 240 is kept.
HslColor RgbToHsl(std::int16_t r, std::int16_t g, std::int16_t b);

// The fields of one picked point: hex text, its pairs, the pairs read as
// numbers and their H, S, L. -1 gives FFFFFF, 255, 255, 255 and 160, 0, 240.
ColorSample MakeColorSample(std::int32_t x, std::int32_t y, ColorValue value);

// One to six hexadecimal digits, either case, read as 0 ... 0xFFFFFF.
// Blanks, tabs and line breaks before and after the digits are ignored; no
// sign, prefix or other character is accepted. Empty or blank text fails.
std::optional<ColorValue> ParseHexColorText(std::string_view text);

// A decimal number: optional "+" or "-", digits, optional "." and fraction
// ("12.", ".5" count), rounded to the nearest integer with ties to even
// (12.5 -> 12, 13.5 -> 14). Blanks, tabs and line breaks around it are
// ignored (a number copied from a terminal ends in one). Fails for
// anything else (no exponent, grouping or "&H"), for empty text and for a
// result outside the 32-bit signed range; any number of digits is safe.
std::optional<std::int32_t> ParseDecimalText(std::string_view text);

} // namespace huegrab
