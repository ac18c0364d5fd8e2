// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/pixel_search.h"
#include "cli/reading_format.h"

#include <gtest/gtest.h>

namespace huegrab::cli {
namespace {

const Reading kBlueish{ScreenPoint{3, -4}, 0xCC6633}; // r 51, g 102, b 204

TEST(ReadingFormat, LineAndJsonCarryEveryField) {
    EXPECT_EQ(FormatLine(kBlueish),
              "x=3 y=-4 c=13395507 hex=CC6633 r=51 g=102 b=204 h=147 s=144 l=120");
    EXPECT_EQ(FormatLine({std::nullopt, 0xFF}), "c=255 hex=0000FF r=255 g=0 b=0 h=0 s=240 l=120");
    EXPECT_EQ(FormatJson(kBlueish), "{\"x\":3,\"y\":-4,\"c\":13395507,\"hex\":\"CC6633\",\"r\":51,"
                                    "\"g\":102,\"b\":204,\"h\":147,\"s\":144,\"l\":120}");
    // A grey: hue 160; leading zeros of the hex text stay.
    EXPECT_EQ(FormatJson({std::nullopt, 0x000001}),
              "{\"c\":1,\"hex\":\"000001\",\"r\":1,\"g\":0,\"b\":0,\"h\":0,\"s\":240,\"l\":0}");
}

TEST(ReadingFormat, WebOrderSwapsOnlyTheHexText) {
    const Reading web{ScreenPoint{3, -4}, 0xCC6633, HexOrder::Rgb};
    EXPECT_EQ(FormatLine(web), "x=3 y=-4 c=13395507 hex=3366CC r=51 g=102 b=204 h=147 s=144 l=120");
    EXPECT_EQ(FormatJson({std::nullopt, 0x0000FF, HexOrder::Rgb}),
              "{\"c\":255,\"hex\":\"FF0000\",\"r\":255,\"g\":0,\"b\":0,\"h\":0,\"s\":240,"
              "\"l\":120}");
    const std::vector<std::tuple<ColorValue, std::string, std::string>> texts = {
        {0x000001, "000001", "010000"},
        {0x010000, "010000", "000001"},
        {0x00AB00, "00AB00", "00AB00"},
        {0x123456, "123456", "563412"},
    };
    for (const auto& [value, bgr, rgb] : texts) {
        EXPECT_EQ(HexText(value, HexOrder::Bgr), bgr);
        EXPECT_EQ(HexText(value, HexOrder::Rgb), rgb);
    }
}

TEST(ReadingFormat, TemplatesFillFieldsAndRefuseUnknownOnes) {
    struct Case {
        std::string format;
        Reading reading;
        std::string text;
        std::string error;
    };
    const Reading noPoint{std::nullopt, 0xCC6633};
    const std::vector<Case> cases = {
        {"{x},{y} {hex}", kBlueish, "3,-4 CC6633", ""},
        {"{r},{g},{b} {h},{s},{l}", kBlueish, "51,102,204 147,144,120", ""},
        {"{bhex}{ghex}{rhex}={hex}", kBlueish, "CC6633=CC6633", ""},
        {"{{{c}}} }}{{", kBlueish, "{13395507} }{", ""},
        // {rrggbb} is web order whatever --rgb says; {hex} follows it.
        {"{rrggbb} {hex}", kBlueish, "3366CC CC6633", ""},
        {"#{rrggbb} {hex}", {std::nullopt, 0xCC6633, HexOrder::Rgb}, "#3366CC 3366CC", ""},
        {"{rhex}{ghex}{bhex}={rrggbb}", kBlueish, "3366CC=3366CC", ""},
        {"", kBlueish, "", ""},
        {"plain", kBlueish, "plain", ""},
        {"{c}", noPoint, "13395507", ""},
        {"{x}", noPoint, "", "unknown field {x}"},
        {"{X}", kBlueish, "", "unknown field {X}"},
        {"{}", kBlueish, "", "unknown field {}"},
        {"{hex", kBlueish, "", "a \"{\" without its \"}\" (write \"{{\" for a brace)"},
        {"hex}", kBlueish, "", "a \"}\" without its \"{\" (write \"}}\" for a brace)"},
    };
    for (const auto& [format, reading, text, error] : cases) {
        const Expansion expansion = ExpandTemplate(format, reading);
        EXPECT_EQ(expansion.text, text) << format;
        EXPECT_EQ(expansion.error, error) << format;
    }
}

PixelBlock Block(std::int32_t left, std::int32_t top, std::int32_t width,
                 std::vector<ColorValue> pixels) {
    const auto height = static_cast<std::int32_t>(pixels.size()) / width;
    return {left, top, width, height, std::move(pixels)};
}

TEST(PixelSearch, FirstMatchInRowOrderWithinTheTolerance) {
    constexpr ColorValue kTarget = 0x406080; // b 0x40, g 0x60, r 0x80
    struct Case {
        const char* what;
        PixelBlock block;
        int tolerance;
        std::optional<ScreenPoint> found;
    };
    const std::vector<Case> cases = {
        {"row before column", Block(10, 20, 3, {0, 0, 0, kTarget, 0, kTarget}), 0,
         ScreenPoint{10, 21}},
        {"none", Block(0, 0, 2, {1, 2, 3, 4}), 0, std::nullopt},
        {"red off by the tolerance", Block(0, 0, 2, {0, 0x406085, 0, 0}), 5, ScreenPoint{1, 0}},
        {"red off by one more", Block(0, 0, 2, {0, 0x406086, 0, 0}), 5, std::nullopt},
        {"green below", Block(0, 0, 1, {0x405B80}), 5, ScreenPoint{0, 0}},
        {"green one more below", Block(0, 0, 1, {0x405A80}), 5, std::nullopt},
        {"blue above", Block(0, 0, 1, {0x456080}), 5, ScreenPoint{0, 0}},
        {"blue one more above", Block(0, 0, 1, {0x466080}), 5, std::nullopt},
        {"a near miss does not hide a later hit", Block(-5, -5, 2, {0x466080, 0x416181}), 1,
         ScreenPoint{-4, -5}},
        // An unreadable pixel is no colour, not white.
        {"off-screen pixels", Block(0, 0, 2, {kInvalidColor, kInvalidColor}), 255, std::nullopt},
    };
    for (const auto& [what, block, tolerance, found] : cases)
        EXPECT_EQ(FindColor(block, kTarget, tolerance), found) << what;
    EXPECT_EQ(FindColor(Block(0, 0, 1, {kInvalidColor, 0xFFFFFF}), 0xFFFFFF, 0),
              (ScreenPoint{0, 1}));
}

TEST(PixelSearch, RegionsAreCutToTheScreen) {
    const ScreenRect screen{0, 0, 640, 480};
    const std::vector<std::pair<ScreenRect, std::optional<ScreenRect>>> cases = {
        {{10, 20, 30, 40}, ScreenRect{10, 20, 30, 40}},
        {{-10, -20, 30, 40}, ScreenRect{0, 0, 20, 20}},
        {{630, 470, 100, 100}, ScreenRect{630, 470, 10, 10}},
        {{640, 0, 5, 5}, std::nullopt},
        {{0, -5, 5, 5}, std::nullopt},
        {{2147483000, 0, 2147483647, 5}, std::nullopt},
        {{-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647}, std::nullopt},
        {{-100, -100, 2147483647, 2147483647}, screen},
    };
    for (const auto& [region, cut] : cases)
        EXPECT_EQ(Intersect(region, screen), cut) << region.x << "," << region.y;
}

} // namespace
} // namespace huegrab::cli
