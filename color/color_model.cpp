// SPDX-License-Identifier: GPL-3.0-or-later
// Text forms of a colour value and the two parsers of typed colour codes.

#include "color/color_model.h"

#include "text/blank_text.h"

#include <cstddef>
#include <limits>

namespace huegrab {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The value of one hexadecimal digit, or -1.
int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

// A pair of hexadecimal digits read as a number; the pairs of
// ColorToHexText always hold two digits, anything else reads as 0.
int PairValue(std::string_view pair) {
    int value = 0;
    for (char c : pair) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return 0;
        }
        value = value * 16 + digit;
    }
    return value;
}

// Up to two characters of `text` from `pos`, fewer where the text ends.
std::string Pair(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) {
        return {};
    }
    return std::string(text.substr(pos, 2));
}

} // namespace

std::string ColorToHexText(ColorValue value) {
    // The 32-bit two's complement keeps the last six digits of any value.
    auto bits = static_cast<std::uint32_t>(value) & 0xFFFFFFu;
    std::string text(6, '0');
    for (std::size_t i = text.size(); i-- > 0;) {
        text[i] = kHexDigits[bits & 0xFu];
        bits >>= 4;
    }
    return text;
}

HexPairs SplitHexText(std::string_view hex) {
    return HexPairs{Pair(hex, 4), Pair(hex, 2), Pair(hex, 0)};
}

ColorSample MakeColorSample(std::int32_t x, std::int32_t y, ColorValue value) {
    ColorSample sample;
    sample.x = x;
    sample.y = y;
    sample.value = value;
    sample.hex = ColorToHexText(value);
    HexPairs pairs = SplitHexText(sample.hex);
    sample.rHex = std::move(pairs.r);
    sample.gHex = std::move(pairs.g);
    sample.bHex = std::move(pairs.b);
    sample.r = PairValue(sample.rHex);
    sample.g = PairValue(sample.gHex);
    sample.b = PairValue(sample.bHex);
    const HslColor hsl =
        RgbToHsl(static_cast<std::int16_t>(sample.r), static_cast<std::int16_t>(sample.g),
                 static_cast<std::int16_t>(sample.b));
    sample.h = hsl.h;
    sample.s = hsl.s;
    sample.l = hsl.l;
    return sample;
}

std::optional<ColorValue> ParseHexColorText(std::string_view text) {
    text = TrimBlanks(text, kBlanksAndLineBreaks);
    if (text.empty() || text.size() > 6) {
        return std::nullopt;
    }
    ColorValue value = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + digit;
    }
    return value;
}

std::optional<std::int32_t> ParseDecimalText(std::string_view text) {
    text = TrimBlanks(text, kBlanksAndLineBreaks);
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }

    // Whole part. Leading zeros do not count towards the length limit; more
    // than ten significant digits is beyond the 32-bit range however it rounds.
    std::int64_t magnitude = 0;
    int significant = 0;
    bool anyDigit = false;
    for (; pos < text.size() && IsDecimalDigit(text[pos]); ++pos) {
        anyDigit = true;
        if (magnitude == 0 && text[pos] == '0') {
            continue;
        }
        if (++significant > 10) {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (text[pos] - '0');
    }

    // Fraction: only its first digit and whether anything non-zero follows
    // matter for rounding half to even.
    int firstFractionDigit = 0;
    bool restNonZero = false;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        bool first = true;
        for (; pos < text.size() && IsDecimalDigit(text[pos]); ++pos) {
            anyDigit = true;
            if (first) {
                firstFractionDigit = text[pos] - '0';
                first = false;
            } else if (text[pos] != '0') {
                restNonZero = true;
            }
        }
    }
    if (!anyDigit || pos != text.size()) {
        return std::nullopt;
    }

    const bool above = firstFractionDigit > 5 || (firstFractionDigit == 5 && restNonZero);
    const bool half = firstFractionDigit == 5 && !restNonZero;
    if (above || (half && magnitude % 2 != 0)) {
        ++magnitude;
    }

    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

} // namespace huegrab
