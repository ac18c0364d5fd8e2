// SPDX-License-Identifier: GPL-3.0-or-later
// The cursor feature code on the fake desktop: worked values, the methods'
// points, the hot spot, transparency, and the screen copy without an image.

#include "cursor/cursor_feature_code.h"
#include "desktop/fake/fake_desktop.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace huegrab {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::int32_t kBlackCodes[] = {0, 2147483647, 2147483647};
constexpr std::int32_t kWhiteCodes[] = {1593348757, 121993146, 330168771};

CursorImage Solid(int side, std::uint32_t argb, int xhot = 0, int yhot = 0) {
    return {side, side, xhot, yhot, std::vector<std::uint32_t>(std::size_t(side * side), argb)};
}
std::uint32_t& PixelOf(CursorImage& image, int x, int y) {
    return image.argb[static_cast<std::size_t>(y * image.width + x)];
}
CursorImage Random(int side, unsigned seed) {
    std::mt19937 random(seed);
    CursorImage image = Solid(side, 0);
    for (std::uint32_t& pixel : image.argb)
        pixel = 0xFF000000u | (random() & 0xFFFFFFu);
    return image;
}
std::int32_t CodeOf(std::optional<CursorImage> image, int method, ColorValue screen = 0) {
    FakeDesktop desktop(100, 100, screen);
    desktop.pointer = {40, 30};
    desktop.cursor = std::move(image);
    return GetCursorFeatureCode(desktop, desktop, desktop, method).code;
}

TEST(CursorFeatureCode, WorkedValuesOfBlackAndWhiteCaptures) {
    struct Case {
        const char* name;
        std::optional<CursorImage> cursor; // nullopt: the screen is copied
        ColorValue screen;
        const std::int32_t* codes;
    };
    const Case cases[] = {
        {"opaque black", Solid(16, 0xFF000000u), 0xFFFFFF, kBlackCodes},
        {"clear: the surface stays black", Solid(16, 0), 0xFFFFFF, kBlackCodes},
        {"1 x 1: only the hot spot, never read", Solid(1, kWhite), 0, kBlackCodes},
        {"black screen, no image", std::nullopt, 0, kBlackCodes},
        {"opaque white", Solid(16, kWhite), 0, kWhiteCodes},
        {"large white, hot spot inside", Solid(48, kWhite, 20, 20), 0, kWhiteCodes},
        {"white screen, no image", std::nullopt, 0xFFFFFF, kWhiteCodes},
    };
    for (const Case& c : cases)
        for (int method = 0; method < 3; ++method)
            EXPECT_EQ(CodeOf(c.cursor, method, c.screen), c.codes[method])
                << c.name << ", method " << method;
}

TEST(CursorFeatureCode, EachMethodReadsExactlyItsOwnPoints) {
    for (int method = 0; method < 3; ++method) {
        const CursorImage image = Random(16, 11 + method);
        const std::int32_t code = CodeOf(image, method);
        const auto points = CursorSamplePoints(method);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                CursorImage changed = image;
                PixelOf(changed, x, y) ^= 0x00010101u;
                const bool read = std::ranges::find(points, CursorPoint{x, y}) != points.end();
                EXPECT_EQ(CodeOf(changed, method) != code, read)
                    << "method " << method << ", pixel (" << x << ", " << y << ")";
            }
        }
    }
    // Any other method number is method 0.
    const CursorImage image = Random(16, 7);
    for (const int method : {-1, 3, 255, -32768})
        EXPECT_EQ(CodeOf(image, method), CodeOf(image, 0)) << method;
}

TEST(CursorFeatureCode, OnlyTheImageFromTheHotSpotOnCounts) {
    // Random pixels above and left of the hot spot, white from it on; the
    // pixel at (16, 16) from the hot spot is past the surface and counts as
    // all ones whatever it holds.
    for (const auto& [xhot, yhot] : {std::pair{5, 0}, std::pair{0, 9}, std::pair{13, 7}}) {
        CursorImage image = Random(40, static_cast<unsigned>(xhot + yhot));
        for (int y = yhot; y < 40; ++y)
            for (int x = xhot; x < 40; ++x)
                PixelOf(image, x, y) = x == xhot + 16 && y == yhot + 16 ? 0xFF000000u : kWhite;
        image.xhot = xhot;
        image.yhot = yhot;
        for (int method = 0; method < 3; ++method)
            EXPECT_EQ(CodeOf(image, method), kWhiteCodes[method]) << xhot << ", " << yhot;
    }
}

TEST(CursorFeatureCode, PartlyTransparentPixelsDarkenOverBlack) {
    struct Case {
        std::uint32_t argb;
        ColorValue background, expected;
    };
    const Case cases[] = {
        {0xFF112233u, 0xE1E1E1, 0x332211}, // opaque: the colour, BBGGRR
        {0x00000000u, 0xE1E1E1, 0xE1E1E1}, // clear: the background
        {0x80808080u, 0x000000, 0x808080}, // half-covered white
        {0x80808080u, 0xE1E1E1, 0xF0F0F0},
        {0x10FFFFFFu, 0xFFFFFF, 0xFFFFFF}, // malformed: saturates
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompositeOver(c.argb, c.background), c.expected) << std::hex << c.argb;
    for (int method = 0; method < 3; ++method)
        EXPECT_EQ(CodeOf(Solid(16, 0x80808080u), method), CodeOf(Solid(16, 0xFF808080u), method));
}

TEST(CursorFeatureCode, ThePictureShowsUpTo32PixelsFromTheHotSpotOnTheBackground) {
    CursorImage image = Solid(40, 0, 3, 2);
    PixelOf(image, 3, 2) = 0xFF0000FFu;                         // the hot spot
    PixelOf(image, 34, 33) = 0xFFFF0000u;                       // the picture's last pixel
    PixelOf(image, 35, 2) = PixelOf(image, 2, 2) = 0xFF00FF00u; // right of it, left of the hot spot
    FakeDesktop desktop(64, 64);
    desktop.cursor = image;
    const CursorFeatureCode result = GetCursorFeatureCode(desktop, desktop, desktop, 1, 0x123456);
    CursorPicture expected;
    expected.pixels.fill(0x123456);
    expected.Set(0, 0, 0xFF0000);
    expected.Set(31, 31, 0x0000FF);
    EXPECT_EQ(result.picture, expected);
    EXPECT_EQ(result.marks.size(), 16u);
    EXPECT_EQ(desktop.cursorImageReads, 1);
    EXPECT_EQ(desktop.blockReads, 0);
}

TEST(CursorFeatureCode, WithoutAnImageTheScreenAtThePointerIsCopied) {
    FakeDesktop desktop(80, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            desktop.SetPixel(x, y, (x * 3) | (y << 8) | ((x + y) << 16));
    struct Case {
        ScreenPoint pointer;
        bool failPointer;
        ScreenPoint copied;
    };
    const Case cases[] = {{{10, 20}, false, {10, 20}},
                          {{30, 30}, true, {0, 0}},     // unreadable pointer: (0, 0)
                          {{70, 50}, false, {70, 50}}}; // black past the screen
    for (const Case& c : cases) {
        desktop.pointer = c.pointer;
        desktop.failCursorPos = c.failPointer;
        const CursorFeatureCode result = GetCursorFeatureCode(desktop, desktop, desktop, 0);
        CursorImage same = Solid(32, 0);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const int sx = c.copied.x + x, sy = c.copied.y + y;
                const ColorValue screen = sx < 80 && sy < 60 ? desktop.GetPixel(sx, sy) : 0;
                ASSERT_EQ(result.picture.At(x, y), screen) << x << ", " << y;
                PixelOf(same, x, y) = 0xFF000000u | ((screen & 0xFF) << 16) | (screen & 0xFF00) |
                                      ((screen >> 16) & 0xFF);
            }
        }
        // It folds exactly like a cursor image of those pixels.
        for (int method = 0; method < 3; ++method)
            EXPECT_EQ(GetCursorFeatureCode(desktop, desktop, desktop, method).code,
                      CodeOf(same, method));
    }
}

TEST(CursorFeatureCode, MalformedImagesReadAsClear) {
    CursorImage shortImage = Solid(16, kWhite);
    shortImage.argb.resize(16); // one row: nothing any method reads
    for (const CursorImage& image :
         {shortImage, Solid(16, kWhite, -2147483647 - 1, 2147483647), CursorImage{}})
        EXPECT_EQ(CodeOf(image, 1), kBlackCodes[1]);
}

} // namespace
} // namespace huegrab
