// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/win32/win32_desktop.h"
#include "desktop/win32/win32_screen.h"
#include "tests/win32/support/test_windows.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>

namespace huegrab {
namespace {

using win32::CurrentVirtualScreen;
using win32test::PumpUntil;
using win32test::TestWindow;
using win32test::TestWindowOptions;

// Each channel alone, a mix whose three bytes differ (a swapped channel
// order shows), black and white.
const std::vector<ColorValue> kStripes{0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0x000000, 0xFFFFFF};

class Win32Screen : public ::testing::Test {
protected:
    void SetUp() override {
        desktop_ = Win32Desktop::Open();
        ASSERT_NE(desktop_, nullptr);
        TestWindowOptions options;
        options.title = L"stripes";
        options.x = 101;
        options.y = 57;
        options.width = 20 * static_cast<int>(kStripes.size());
        options.height = 30;
        options.stripes = kStripes;
        window_ = TestWindow::Create(options);
        ASSERT_NE(window_, nullptr);
        // Shown and painted once the last stripe reads back.
        const POINT last = window_->StripeCentre(kStripes.size() - 1);
        ASSERT_TRUE(PumpUntil([&] {
            return desktop_->GetPixel(last.x, last.y) == kStripes.back();
        })) << "the test window never showed on the screen";
    }

    std::unique_ptr<Win32Desktop> desktop_;
    std::unique_ptr<TestWindow> window_;
};

TEST_F(Win32Screen, EveryPixelOfAStripeReadsItsColorExactly) {
    const TestWindowOptions& options = window_->Options();
    const PixelBlock block =
        desktop_->ReadBlock(options.x, options.y, options.width, options.height);
    ASSERT_EQ(block.pixels.size(), static_cast<std::size_t>(options.width * options.height));
    for (std::size_t i = 0; i < kStripes.size(); ++i) {
        SCOPED_TRACE(::testing::Message()
                     << "stripe " << i << " colour " << std::hex << kStripes[i]);
        const RECT rect = window_->StripeRect(i);
        int wrong = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x)
                wrong += block.At(x, y) != kStripes[i];
        }
        EXPECT_EQ(wrong, 0);
        const POINT centre = window_->StripeCentre(i);
        EXPECT_EQ(desktop_->GetPixel(centre.x, centre.y), kStripes[i]);
    }
}

// The tick reads an 11 x 11 block around the sample point; each cell must be
// what a read of that one pixel gives, here across two stripe borders.
TEST_F(Win32Screen, ABlockHoldsWhatSinglePixelReadsGive) {
    const RECT border = window_->StripeRect(3);
    const int left = border.left - 5;
    const int top = border.top - 5; // the window's top edge: part of the block is outside it
    const PixelBlock block = desktop_->ReadBlock(left, top, 11, 11);
    for (int y = top; y < top + 11; ++y) {
        for (int x = left; x < left + 11; ++x)
            ASSERT_EQ(block.At(x, y), desktop_->GetPixel(x, y)) << "at " << x << "," << y;
    }
}

// A search without a region covers what the desktop reports.
TEST_F(Win32Screen, TheBoundsAreTheVirtualScreen) {
    const auto screen = CurrentVirtualScreen();
    EXPECT_EQ(desktop_->ScreenBounds(),
              (ScreenRect{screen.left, screen.top, screen.width, screen.height}));
}

TEST_F(Win32Screen, PointsOffTheVirtualScreenReadInvalid) {
    const auto screen = CurrentVirtualScreen();
    ASSERT_GT(screen.width, 0);
    const std::int32_t right = screen.left + screen.width;
    const std::int32_t bottom = screen.top + screen.height;
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    const struct {
        std::int32_t x, y;
        bool onScreen;
    } cases[] = {
        {screen.left, screen.top, true},
        {right - 1, bottom - 1, true},
        {screen.left - 1, screen.top, false},
        {screen.left, screen.top - 1, false},
        {right, bottom - 1, false},
        {right - 1, bottom, false},
        {kMin, kMin, false},
        {kMax, kMax, false},
    };
    for (const auto& c : cases) {
        const ColorValue value = desktop_->GetPixel(c.x, c.y);
        EXPECT_EQ(value >= 0, c.onScreen) << c.x << "," << c.y << " read " << value;
    }

    // A block over the top-left corner: only its part on the screen reads.
    const PixelBlock corner = desktop_->ReadBlock(screen.left - 5, screen.top - 5, 11, 11);
    for (int y = screen.top - 5; y < screen.top + 6; ++y) {
        for (int x = screen.left - 5; x < screen.left + 6; ++x) {
            const bool onScreen = x >= screen.left && y >= screen.top;
            ASSERT_EQ(corner.At(x, y) >= 0, onScreen) << x << "," << y;
        }
    }
    // Near the coordinate limits the block must not wrap onto the screen.
    const PixelBlock distant = desktop_->ReadBlock(kMax - 5, kMax - 5, 11, 11);
    EXPECT_EQ(std::count(distant.pixels.begin(), distant.pixels.end(), kInvalidColor), 121);
}

} // namespace
} // namespace huegrab
