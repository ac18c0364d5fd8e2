// The cursor feature code on the fake desktop: the worked values of the
// three methods, the fallback method, the hot spot, transparency over black,
// the point outside the surface and the screen copy without a cursor image.

#include "cursor/cursor_feature_code.h"
#include "desktop/fake/fake_desktop.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace huegrab {
namespace {

constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

CursorImage SolidCursor(int side, std::uint32_t argb, int xhot = 0, int yhot = 0) {
    return {side, side, xhot, yhot,
            std::vector<std::uint32_t>(static_cast<std::size_t>(side) * side, argb)};
}

std::uint32_t& PixelOf(CursorImage& image, int x, int y) {
    return image.argb[static_cast<std::size_t>(y * image.width + x)];
}

std::int32_t CodeOf(const CursorImage& image, int method) {
    FakeDesktop desktop(64, 64);
    desktop.cursor = image;
    return GetCursorFeatureCode(desktop, method).code;
}

TEST(CursorFeatureCode, WorkedValuesOfBlackAndWhiteCaptures) {
    constexpr std::int32_t kBlack[] = {0, 2147483647, 2147483647};
    constexpr std::int32_t kWhite[] = {1593348757, 121993146, 330168771};
    struct Case {
        const char* name;
        std::optional<CursorImage> cursor; // nullopt: the screen is copied
        ColorValue screen;
        const std::int32_t* codes; // methods 0, 1, 2
    };
    const Case cases[] = {
        {"opaque black cursor", SolidCursor(16, kOpaqueBlack), 0xFFFFFF, kBlack},
        {"clear cursor leaves the surface black", SolidCursor(16, 0), 0xFFFFFF, kBlack},
        {"a 1 x 1 cursor covers only the hot spot", SolidCursor(1, kOpaqueWhite), 0, kBlack},
        {"black screen without a cursor image", std::nullopt, 0x000000, kBlack},
        {"opaque white cursor", SolidCursor(16, kOpaqueWhite), 0x000000, kWhite},
        {"large white cursor", SolidCursor(48, kOpaqueWhite, 20, 20), 0x000000, kWhite},
        {"white screen without a cursor image", std::nullopt, 0xFFFFFF, kWhite},
    };
    for (const Case& c : cases) {
        FakeDesktop desktop(100, 100, c.screen);
        desktop.pointer = {40, 30};
        desktop.cursor = c.cursor;
        for (int method = 0; method < 3; ++method)
            EXPECT_EQ(GetCursorFeatureCode(desktop, method).code, c.codes[method])
                << c.name << ", method " << method;
    }
}

TEST(CursorFeatureCode, MethodNumbersOtherThanOneAndTwoReadTheDefaultPoints) {
    constexpr CursorPoint kDefault[] = {{1, 1}, {2, 2}, {2, 3}, {3, 4}, {3, 5},
                                        {4, 6}, {4, 7}, {5, 8}, {5, 9}, {6, 10}};
    std::mt19937 random(7);
    CursorImage image = SolidCursor(16, 0);
    for (std::uint32_t& pixel : image.argb)
        pixel = 0xFF000000u | (random() & 0xFFFFFFu);
    const std::int32_t defaultCode = CodeOf(image, 0);
    for (const int method : {-1, 3, 4, 255, -32768, 32767}) {
        SCOPED_TRACE(method);
        EXPECT_TRUE(std::ranges::equal(CursorSamplePoints(method), kDefault));
        EXPECT_EQ(CodeOf(image, method), defaultCode);
    }
    // Methods 1 and 2 read the diagonal, ending one pixel past the surface.
    ASSERT_EQ(CursorSamplePoints(1).size(), 16u);
    ASSERT_EQ(CursorSamplePoints(2).size(), 8u);
    EXPECT_EQ(CursorSamplePoints(1).front(), (CursorPoint{1, 1}));
    EXPECT_EQ(CursorSamplePoints(2).front(), (CursorPoint{9, 9}));
    EXPECT_EQ(CursorSamplePoints(2).back(), (CursorPoint{16, 16}));
}

TEST(CursorFeatureCode, EachMethodDependsOnExactlyItsOwnPoints) {
    std::mt19937 random(11);
    for (int method = 0; method < 3; ++method) {
        CursorImage image = SolidCursor(16, 0);
        for (std::uint32_t& pixel : image.argb)
            pixel = 0xFF000000u | (random() & 0xFFFFFFu);
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
}

TEST(CursorFeatureCode, PixelsAboveOrLeftOfTheHotSpotNeverCount) {
    // A white field from the hot spot on, other colours above and left of it.
    struct HotSpot {
        int xhot, yhot;
    };
    for (const HotSpot hot : {HotSpot{0, 0}, HotSpot{5, 0}, HotSpot{0, 9}, HotSpot{13, 7}}) {
        CursorImage image = SolidCursor(32, kOpaqueWhite, hot.xhot, hot.yhot);
        std::mt19937 random(static_cast<unsigned>(hot.xhot * 100 + hot.yhot));
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (x < hot.xhot || y < hot.yhot)
                    PixelOf(image, x, y) = random();
        SCOPED_TRACE(testing::Message() << "hot spot " << hot.xhot << ", " << hot.yhot);
        EXPECT_EQ(CodeOf(image, 0), 1593348757);
        EXPECT_EQ(CodeOf(image, 1), 121993146);
        EXPECT_EQ(CodeOf(image, 2), 330168771);
    }
}

TEST(CursorFeatureCode, ThePointPastTheSurfaceAlwaysCountsAsAllOnes) {
    // (16, 16) from the hot spot is in the image but outside the surface.
    for (const std::uint32_t past : {kOpaqueBlack, kOpaqueWhite, 0x80402010u}) {
        CursorImage image = SolidCursor(32, kOpaqueBlack, 4, 4);
        PixelOf(image, 20, 20) = past;
        EXPECT_EQ(CodeOf(image, 1), 2147483647) << std::hex << past;
        EXPECT_EQ(CodeOf(image, 2), 2147483647) << std::hex << past;
    }
}

TEST(CursorFeatureCode, PartlyTransparentPixelsDarkenOverBlack) {
    struct Case {
        std::uint32_t argb;
        ColorValue background;
        ColorValue expected;
    };
    const Case cases[] = {
        {0xFF112233u, 0x000000, 0x332211}, // opaque: the colour, BBGGRR
        {0xFF112233u, 0xE1E1E1, 0x332211},
        {0x00000000u, 0x000000, 0x000000}, // clear: the background
        {0x00000000u, 0xE1E1E1, 0xE1E1E1},
        {0x80808080u, 0x000000, 0x808080}, // half-covered white: darkened
        {0x80808080u, 0xE1E1E1, 0xF0F0F0},
        {0x80800000u, 0x0000FF, 0x0000FF}, // red over red stays red
        {0x10FFFFFFu, 0xFFFFFF, 0xFFFFFF}, // malformed: saturates
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompositeOver(c.argb, c.background), c.expected)
            << std::hex << c.argb << " over " << c.background;

    // The code of a half-covered white cursor is the code of opaque grey.
    for (int method = 0; method < 3; ++method)
        EXPECT_EQ(CodeOf(SolidCursor(16, 0x80808080u), method),
                  CodeOf(SolidCursor(16, 0xFF808080u), method));
}

TEST(CursorFeatureCode, ThePictureShowsUpTo32PixelsFromTheHotSpotOnTheBackground) {
    CursorImage image = SolidCursor(40, 0, 3, 2);
    PixelOf(image, 3, 2) = 0xFF0000FFu;   // the hot spot, blue
    PixelOf(image, 34, 33) = 0xFFFF0000u; // the picture's last pixel, red
    PixelOf(image, 35, 2) = 0xFF00FF00u;  // one past its right edge
    PixelOf(image, 2, 2) = 0xFF00FF00u;   // left of the hot spot
    FakeDesktop desktop(64, 64);
    desktop.cursor = image;
    const CursorFeatureCode result = GetCursorFeatureCode(desktop, 1, 0x123456);
    CursorPicture expected;
    expected.pixels.fill(0x123456);
    expected.Set(0, 0, 0xFF0000);
    expected.Set(31, 31, 0x0000FF);
    EXPECT_EQ(result.picture, expected);
    EXPECT_EQ(result.marks.size(), 16u);
    for (const CursorPoint mark : result.marks)
        EXPECT_NE(result.picture.At(mark.x, mark.y), kInvalidColor) << "mark off the picture";
    EXPECT_EQ(desktop.cursorImageReads, 1);
    EXPECT_EQ(desktop.blockReads, 0);
}

TEST(CursorFeatureCode, WithoutACursorImageTheScreenAtThePointerIsCopied) {
    // A screen of distinct colours; the copy must match it pixel for pixel.
    FakeDesktop desktop(80, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            desktop.SetPixel(x, y, (x * 3) | (y << 8) | ((x + y) << 16));

    struct Case {
        const char* name;
        ScreenPoint pointer;
        bool failPointer;
        ScreenPoint copied; // the top-left pixel of the copy
    };
    const Case cases[] = {
        {"inside", {10, 20}, false, {10, 20}},
        {"unreadable pointer copies from (0, 0)", {30, 30}, true, {0, 0}},
        {"off the bottom right: black beyond the screen", {70, 50}, false, {70, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        desktop.pointer = c.pointer;
        desktop.failCursorPos = c.failPointer;
        const int reads = desktop.blockReads;
        const CursorFeatureCode result = GetCursorFeatureCode(desktop, 0);
        EXPECT_EQ(desktop.blockReads, reads + 1);
        CursorImage same = SolidCursor(32, 0);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const int sx = c.copied.x + x, sy = c.copied.y + y;
                const ColorValue screen =
                    sx < desktop.Width() && sy < desktop.Height() ? desktop.GetPixel(sx, sy) : 0;
                ASSERT_EQ(result.picture.At(x, y), screen) << x << ", " << y;
                PixelOf(same, x, y) = 0xFF000000u | ((screen & 0xFF) << 16) | (screen & 0xFF00) |
                                      ((screen >> 16) & 0xFF);
            }
        }
        // The screen copy folds exactly like a cursor image of those pixels.
        for (int method = 0; method < 3; ++method)
            EXPECT_EQ(GetCursorFeatureCode(desktop, method).code, CodeOf(same, method));
    }
}

TEST(CursorFeatureCode, MalformedImagesReadAsClear) {
    CursorImage shortImage = SolidCursor(16, kOpaqueWhite);
    shortImage.argb.resize(16); // one row of sixteen
    CursorImage wildHotSpot = SolidCursor(16, kOpaqueWhite, -2147483647 - 1, 2147483647);
    CursorImage empty{0, 0, 0, 0, {}};
    for (const CursorImage& image : {shortImage, wildHotSpot, empty}) {
        // Only the first row survives in the short image; no method reads it.
        EXPECT_EQ(CodeOf(image, 0), 0);
        EXPECT_EQ(CodeOf(image, 1), 2147483647);
    }
}

} // namespace
} // namespace huegrab
