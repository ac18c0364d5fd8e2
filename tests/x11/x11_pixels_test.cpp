// SPDX-License-Identifier: GPL-3.0-or-later
// Screen pixels of the X11 desktop on private Xvfb screens of depth 24, 16
// and 8: known colours come from xsetroot and from windows of a second client.

#include <gtest/gtest.h>
// gtest comes first: Xlib's None macro, which the screen reader's header
// brings, would otherwise break gtest's own type of that name.
#include "desktop/x11/x11_desktop.h"
#include "desktop/x11/x11_screen_reader.h"
#include "tests/x11/support/test_client.h"
#include "tests/x11/support/xvfb_server.h"
#include "tests/x11/x11_server_test.h"

#include <X11/Xlib-xcb.h>
#include <cstdio>
#include <iterator>
#include <limits>
#include <memory>
#include <string>

namespace huegrab {
namespace {

using xtest::TestClient;
using xtest::XvfbServer;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// 0xRRGGBB as the desktop reports it, 0x00BBGGRR.
constexpr ColorValue FromRgb(std::uint32_t rgb) {
    return static_cast<ColorValue>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

std::string RgbText(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb);
    return text;
}

// One server per screen depth (and visual), shared by the tests of that depth.
template <int Width, int Height, int Depth, bool DirectColorVisual = false>
class ScreenTest : public ::testing::Test {
protected:
    static constexpr int kWidth = Width;
    static constexpr int kHeight = Height;

    static void SetUpTestSuite() {
        std::vector<std::string> visual;
        if (DirectColorVisual)
            visual = {"-cc", "5"}; // the root's visual: DirectColor
        server_ = XvfbServer::Start(
            {.width = Width, .height = Height, .depth = Depth, .extraArguments = visual});
        if (server_)
            client_ = TestClient::Connect(server_->DisplayName());
    }
    static void TearDownTestSuite() {
        client_.reset();
        server_.reset();
    }

    void SetUp() override {
        ASSERT_NE(server_, nullptr) << "Xvfb did not start";
        ASSERT_NE(client_, nullptr);
        desktop_ = X11Desktop::Open(server_->DisplayName().c_str());
        ASSERT_NE(desktop_, nullptr);
    }
    void TearDown() override {
        for (const xtest::XId window : windows_)
            client_->DestroyWindow(window);
        desktop_.reset();
    }

    // A block read as the tick reads it: after a pointer read, which sends
    // the read of the block read last along with it.
    PixelBlock ReadLed(int left, int top, int width, int height) {
        desktop_->ReadPointerAndKeys({});
        return desktop_->ReadBlock(left, top, width, height);
    }

    static void SetRootColor(std::uint32_t rgb) {
        ASSERT_EQ(server_->Run({"xsetroot", "-solid", RgbText(rgb)}).exitCode, 0);
    }

    // A window outside the window manager's reach, exactly where it is put.
    xtest::XId MakeWindow(int x, int y, int width, int height, std::uint32_t rgb) {
        const xtest::XId window =
            client_->CreateWindow(xtest::PlacedRectangle(x, y, width, height, rgb));
        windows_.push_back(window);
        return window;
    }

    // Single reads, led reads and whole-screen reads (through shared
    // memory) of a screen whose pixels are indexes into colour maps.
    void ExpectReadsThroughTheColorMap() {
        for (const std::uint32_t rgb : {0x123456u, 0xFF0000u, 0xFFFFFFu, 0x000000u}) {
            SetRootColor(rgb);
            EXPECT_EQ(desktop_->GetPixel(0, 0), FromRgb(rgb)) << RgbText(rgb);
        }
        ASSERT_NE(MakeWindow(100, 100, 10, 10, 0x00FF00), 0u);
        const PixelBlock block = desktop_->ReadBlock(95, 95, 11, 11);
        EXPECT_EQ(ReadLed(95, 95, 11, 11).pixels, block.pixels) << "led";
        EXPECT_EQ(block.At(100, 100), FromRgb(0x00FF00));
        EXPECT_EQ(block.At(99, 100), FromRgb(0x000000));
        EXPECT_EQ(desktop_->GetPixel(-1, 0), kInvalidColor);
        const PixelBlock whole = desktop_->ReadBlock(0, 0, kWidth, kHeight);
        EXPECT_EQ(whole.At(100, 100), FromRgb(0x00FF00));
        EXPECT_EQ(whole.At(109, 109), FromRgb(0x00FF00));
        EXPECT_EQ(whole.At(110, 110), FromRgb(0x000000));
    }

    static inline std::unique_ptr<XvfbServer> server_;
    static inline std::unique_ptr<TestClient> client_;
    std::unique_ptr<X11Desktop> desktop_;
    std::vector<xtest::XId> windows_;
};

using Depth24Screen = ScreenTest<640, 480, 24>;
using Depth16Screen = ScreenTest<320, 240, 16>;
using Depth8Screen = ScreenTest<320, 240, 8>;
using DirectColorScreen = ScreenTest<320, 240, 24, true>;

TEST_F(Depth24Screen, RootColorReadsExactlyEverywhere) {
    SetRootColor(0x123456);
    for (const auto& [x, y] : {std::pair{0, 0},
                               {kWidth - 1, 0},
                               {0, kHeight - 1},
                               {kWidth - 1, kHeight - 1},
                               {kWidth / 2, kHeight / 2}})
        EXPECT_EQ(desktop_->GetPixel(x, y), 0x563412) << x << "," << y;

    const PixelBlock whole = desktop_->ReadBlock(0, 0, kWidth, kHeight);
    ASSERT_EQ(whole.pixels.size(), static_cast<std::size_t>(kWidth * kHeight));
    for (const ColorValue pixel : whole.pixels)
        ASSERT_EQ(pixel, 0x563412);
}

TEST_F(Depth24Screen, WindowColorsReadExactlyUpToTheirEdges) {
    SetRootColor(0x000000);
    const std::uint32_t colors[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF8000,
                                    0x010203, 0xFEFDFC, 0x808080, 0xFFFFFF};
    int x = 10;
    for (const std::uint32_t rgb : colors) {
        SCOPED_TRACE(RgbText(rgb));
        ASSERT_NE(MakeWindow(x, 50, 20, 30, rgb), 0u);
        EXPECT_EQ(desktop_->GetPixel(x, 50), FromRgb(rgb));
        EXPECT_EQ(desktop_->GetPixel(x + 19, 79), FromRgb(rgb));
        EXPECT_EQ(desktop_->GetPixel(x + 10, 65), FromRgb(rgb));
        EXPECT_EQ(desktop_->GetPixel(x - 1, 50), 0);
        EXPECT_EQ(desktop_->GetPixel(x + 20, 79), 0);
        EXPECT_EQ(desktop_->GetPixel(x, 49), 0);
        EXPECT_EQ(desktop_->GetPixel(x, 80), 0);
        x += 25;
    }
}

TEST_F(Depth24Screen, ReadBlockPutsEachPixelWhereGetPixelFindsIt) {
    SetRootColor(0x102030);
    // Distinct marks, each 3 x 3, in the corners and across the middle.
    ASSERT_NE(MakeWindow(0, 0, 3, 3, 0xFF0000), 0u);
    ASSERT_NE(MakeWindow(kWidth - 3, 0, 3, 3, 0x00FF00), 0u);
    ASSERT_NE(MakeWindow(0, kHeight - 3, 3, 3, 0x0000FF), 0u);
    ASSERT_NE(MakeWindow(kWidth - 3, kHeight - 3, 3, 3, 0xFFFF00), 0u);
    ASSERT_NE(MakeWindow(318, 238, 3, 5, 0x00FFFF), 0u);

    const auto expected = [&](int x, int y) -> ColorValue {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
            return kInvalidColor;
        const bool left = x < 3;
        const bool right = x >= kWidth - 3;
        const bool top = y < 3;
        const bool bottom = y >= kHeight - 3;
        if (left && top)
            return FromRgb(0xFF0000);
        if (right && top)
            return FromRgb(0x00FF00);
        if (left && bottom)
            return FromRgb(0x0000FF);
        if (right && bottom)
            return FromRgb(0xFFFF00);
        if (x >= 318 && x < 321 && y >= 238 && y < 243)
            return FromRgb(0x00FFFF);
        return FromRgb(0x102030);
    };

    // Blocks over each edge and corner, one wholly inside and one bigger
    // than the screen.
    const struct {
        int left, top, width, height;
    } blocks[] = {{-5, 100, 11, 11},         {100, -5, 11, 11},
                  {kWidth - 6, 100, 11, 11}, {100, kHeight - 6, 11, 11},
                  {-5, -5, 11, 11},          {kWidth - 6, -5, 11, 11},
                  {-5, kHeight - 6, 11, 11}, {kWidth - 6, kHeight - 6, 11, 11},
                  {314, 235, 11, 11},        {-1, -1, kWidth + 2, kHeight + 2}};
    // Each twice: read alone, then led by a pointer read after a read a few
    // pixels away, as when the pointer moved a little between two ticks.
    for (int pass = 0; pass < 2 * static_cast<int>(std::size(blocks)); ++pass) {
        const auto& b = blocks[pass / 2];
        const bool led = pass % 2 == 1;
        SCOPED_TRACE(testing::Message()
                     << "block at " << b.left << "," << b.top << (led ? ", led" : ""));
        if (led)
            desktop_->ReadBlock(b.left - 4, b.top + 3, b.width, b.height);
        const PixelBlock block = led ? ReadLed(b.left, b.top, b.width, b.height)
                                     : desktop_->ReadBlock(b.left, b.top, b.width, b.height);
        ASSERT_EQ(block.left, b.left);
        ASSERT_EQ(block.top, b.top);
        ASSERT_EQ(block.width, b.width);
        ASSERT_EQ(block.height, b.height);
        ASSERT_EQ(block.pixels.size(), static_cast<std::size_t>(b.width * b.height));
        int wrong = 0;
        for (int y = b.top; y < b.top + b.height; ++y) {
            for (int x = b.left; x < b.left + b.width; ++x) {
                if (block.At(x, y) != expected(x, y) && ++wrong <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " reads " << block.At(x, y)
                                  << ", expected " << expected(x, y);
            }
        }
        EXPECT_EQ(wrong, 0);
    }
    // Single reads agree with the blocks.
    for (const auto& [x, y] : {std::pair{-1, 0},
                               {0, 0},
                               {2, 2},
                               {3, 3},
                               {kWidth - 1, 0},
                               {kWidth, 0},
                               {320, 240},
                               {kWidth - 1, kHeight - 1}})
        EXPECT_EQ(desktop_->GetPixel(x, y), expected(x, y)) << x << "," << y;

    // The screen changed since the last read: a led read sees it now, near
    // the last read or too far from it for the lead.
    for (const int step : {0, 16, 17}) {
        desktop_->ReadBlock(200, 200, 11, 11);
        SetRootColor(step % 2 == 0 ? 0x405060 : 0x605040);
        const PixelBlock after = ReadLed(200 + step, 200 - step, 11, 11);
        const ColorValue now = FromRgb(step % 2 == 0 ? 0x405060 : 0x605040);
        EXPECT_EQ(after.At(200 + step, 200 - step), now) << step;
        EXPECT_EQ(after.At(210 + step, 210 - step), now) << step;
    }
    // A lead that no read took (tracking stopped) goes before the loop
    // sleeps; later reads see the screen as it is, led again once read.
    IdleHookLoop loop;
    desktop_->AttachEventLoop(loop);
    ASSERT_TRUE(loop.sleeping);
    desktop_->ReadPointerAndKeys({});
    loop.sleeping();
    for (const std::uint32_t rgb : {0x102030u, 0x302010u}) {
        SetRootColor(rgb);
        EXPECT_EQ(ReadLed(200, 200, 11, 11).At(205, 205), FromRgb(rgb)) << RgbText(rgb);
    }
}

// A pointer walking a few pixels a tick is led on every tick, the lead
// following the last block; a jump past the lead's margin reads afresh.
TEST_F(Depth24Screen, AWalkingPointerIsLedOnEveryTick) {
    const xtest::XConnection display = xtest::OpenConnection(server_->DisplayName());
    ASSERT_NE(display, nullptr);
    x11::ScreenReader reader(display.get(), DefaultRootWindow(display.get()));
    xcb_connection_t* connection = XGetXCBConnection(display.get());
    // The sequence number of a request sent now: the requests between two
    // of these are what the reads in between asked.
    const auto nextRequest = [&] {
        const unsigned sequence = xcb_get_input_focus(connection).sequence;
        xcb_discard_reply(connection, sequence);
        return sequence;
    };
    const struct {
        int dx, dy;
        bool led;
    } steps[] = {{5, 0, true}, {5, 0, true},    {5, 3, true},   {5, -3, true},
                 {5, 0, true}, {-16, 16, true}, {17, 0, false}, {0, 0, true}};
    int left = 100, top = 100;
    reader.Read(left, top, 11, 11);
    for (const auto& step : steps) {
        left += step.dx;
        top += step.dy;
        SCOPED_TRACE(testing::Message() << "block at " << left << "," << top);
        reader.AskLeadBlock();
        const unsigned before = nextRequest();
        reader.Read(left, top, 11, 11);
        const unsigned asked = nextRequest() - before - 1;
        EXPECT_EQ(asked == 0, step.led) << asked << " requests";
    }
    reader.DropLeadBlock();
}

TEST_F(Depth24Screen, PointsFarOffTheScreenReadInvalidWithoutAnXError) {
    SetRootColor(0xABCDEF);
    testing::internal::CaptureStderr();
    for (const auto& [x, y] : {std::pair{-1, 0},
                               {0, -1},
                               {kWidth, 0},
                               {0, kHeight},
                               {kMin, kMin},
                               {kMax, kMax},
                               {kMin, 0},
                               {0, kMax},
                               {-32768, -32768},
                               {32767, 32767},
                               {65536, 10},
                               {-65536, 10}}) {
        EXPECT_EQ(desktop_->GetPixel(x, y), kInvalidColor) << x << "," << y;
    }
    // Blocks whose right or bottom edge would pass the 32-bit range.
    for (const auto& [left, top] : {std::pair{kMax - 5, 0},
                                    {0, kMax - 5},
                                    {kMax, kMax},
                                    {kMin, kMin},
                                    {kMin + 3, 100},
                                    {-20, -20}}) {
        const PixelBlock block = desktop_->ReadBlock(left, top, 11, 11);
        ASSERT_EQ(block.pixels.size(), 121u);
        for (const ColorValue pixel : block.pixels)
            EXPECT_EQ(pixel, kInvalidColor) << left << "," << top;
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    // The connection is still good.
    EXPECT_EQ(desktop_->GetPixel(5, 5), FromRgb(0xABCDEF));
}

TEST_F(Depth24Screen, EmptyOrAbsurdBlocksReadNothing) {
    for (const auto& [width, height] :
         {std::pair{0, 11}, {11, 0}, {-1, 11}, {11, kMin}, {kMax, kMax}, {1 << 16, 1 << 16}}) {
        const PixelBlock block = desktop_->ReadBlock(0, 0, width, height);
        EXPECT_EQ(block.width, 0);
        EXPECT_EQ(block.height, 0);
        EXPECT_TRUE(block.pixels.empty());
        EXPECT_EQ(block.At(0, 0), kInvalidColor);
    }
}

// Large reads come in strips of rows through shared memory (51 rows of a
// 640-pixel screen at 32 bits a pixel, so one edge lies between rows 407 and
// 408); small ones in one piece. Both must put every pixel in the same place.
TEST_F(Depth24Screen, LargeReadsAgreeWithSmallOnesAcrossStrips) {
    SetRootColor(0x203040);
    ASSERT_NE(MakeWindow(100, 407, 5, 4, 0xFF0000), 0u); // rows 407-410: across a strip edge
    ASSERT_NE(MakeWindow(639, 409, 1, 1, 0x00FF00), 0u);
    ASSERT_NE(MakeWindow(0, 479, 1, 1, 0x0000FF), 0u);
    const PixelBlock whole = desktop_->ReadBlock(-2, -3, kWidth + 4, kHeight + 6);
    for (const auto& [x, y] : {std::pair{100, 406},
                               {100, 407},
                               {104, 408},
                               {104, 409},
                               {105, 409},
                               {102, 410},
                               {102, 411},
                               {639, 408},
                               {639, 409},
                               {638, 409},
                               {0, 479},
                               {1, 479},
                               {0, 0}}) {
        const PixelBlock small = desktop_->ReadBlock(x, y, 1, 1);
        EXPECT_EQ(whole.At(x, y), small.At(x, y)) << x << "," << y;
    }
    EXPECT_EQ(whole.At(104, 409), FromRgb(0xFF0000));
    EXPECT_EQ(whole.At(639, 409), FromRgb(0x00FF00));
    EXPECT_EQ(whole.At(-1, 0), kInvalidColor);
    EXPECT_EQ(whole.At(0, kHeight), kInvalidColor);
}

// Strip by strip, a read hands over the same pixels as one whole read, in
// order and tiling the area, and stops when told to.
TEST_F(Depth24Screen, StripReadsTileTheAreaAndStopWhenTold) {
    SetRootColor(0x203040);
    ASSERT_NE(MakeWindow(100, 407, 5, 4, 0xFF0000), 0u);
    ASSERT_NE(MakeWindow(0, 479, 1, 1, 0x0000FF), 0u);
    for (const ScreenRect area : {ScreenRect{0, 0, kWidth, kHeight}, ScreenRect{98, 400, 9, 20},
                                  ScreenRect{-2, 470, kWidth + 4, 20}}) {
        const PixelBlock whole = desktop_->ReadBlock(area.x, area.y, area.width, area.height);
        std::int32_t nextTop = area.y;
        desktop_->ReadBlockInStrips(area, [&](const PixelBlock& strip) {
            EXPECT_EQ(strip.left, area.x);
            EXPECT_EQ(strip.top, nextTop);
            EXPECT_EQ(strip.width, area.width);
            EXPECT_EQ(strip.pixels.size(), static_cast<std::size_t>(strip.width) * strip.height);
            for (std::int32_t y = strip.top; y < strip.top + strip.height; ++y)
                for (std::int32_t x = area.x; x < area.x + area.width; ++x)
                    if (strip.At(x, y) != whole.At(x, y)) {
                        ADD_FAILURE() << "strip and whole read differ at " << x << "," << y;
                        return false;
                    }
            nextTop = strip.top + strip.height;
            return true;
        });
        EXPECT_EQ(nextTop, area.y + area.height) << "the strips end at the area's last row";
    }
    int strips = 0;
    desktop_->ReadBlockInStrips({0, 0, kWidth, kHeight}, [&](const PixelBlock&) {
        ++strips;
        return false;
    });
    EXPECT_EQ(strips, 1);
}

TEST_F(Depth16Screen, PureColorsReadExactly) {
    const std::uint32_t exact[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF,
                                   0x000000, 0xFFFF00, 0x00FFFF, 0xFF00FF};
    for (const std::uint32_t rgb : exact) {
        SetRootColor(rgb);
        EXPECT_EQ(desktop_->GetPixel(0, 0), FromRgb(rgb)) << RgbText(rgb);
        EXPECT_EQ(desktop_->GetPixel(kWidth - 1, kHeight - 1), FromRgb(rgb)) << RgbText(rgb);
    }
}

TEST_F(Depth16Screen, OtherColorsReadWithinTheChannelPrecision) {
    SetRootColor(0x000000);
    // 5 bits of red and blue, 6 of green: steps of about 8 and 4.
    const std::uint32_t colors[] = {0x808080, 0x123456, 0xC08040, 0x7F7F7F};
    int x = 10;
    for (const std::uint32_t rgb : colors) {
        ASSERT_NE(MakeWindow(x, 10, 8, 8, rgb), 0u);
        const PixelBlock block = desktop_->ReadBlock(x - 1, 9, 10, 10);
        EXPECT_EQ(ReadLed(x - 1, 9, 10, 10).pixels, block.pixels) << RgbText(rgb) << " led";
        const ColorValue read = block.At(x + 4, 14);
        const ColorValue want = FromRgb(rgb);
        for (const int shift : {0, 8, 16}) {
            const int got = (read >> shift) & 0xFF;
            const int expected = (want >> shift) & 0xFF;
            EXPECT_NEAR(got, expected, shift == 8 ? 4 : 8) << RgbText(rgb) << " channel " << shift;
        }
        EXPECT_EQ(block.At(x - 1, 14), 0) << "left of the window";
        EXPECT_EQ(block.At(x + 4, 9), 0) << "above the window";
        x += 20;
    }
}

TEST_F(Depth8Screen, ColorMappedScreensReadThroughTheColorMap) {
    ExpectReadsThroughTheColorMap();
}

// Its pixels have channel masks as TrueColor's have, but each channel is an
// index into a colour map.
TEST_F(DirectColorScreen, ChannelsReadThroughTheColorMapNotAsColors) {
    ExpectReadsThroughTheColorMap();
}

} // namespace
} // namespace huegrab
