#include "cursor/cursor_feature_code.h"
#include "desktop/win32/win32_desktop.h"
#include "tests/win32/support/test_windows.h"

#include <gtest/gtest.h>

namespace huegrab {
namespace {

// The codes of the three methods for the cursor this thread shows while
// its window is in front.
std::array<std::int32_t, 3> CodesOf(Win32Desktop& desktop, LPCWSTR cursor) {
    ::SetCursor(::LoadCursorW(nullptr, cursor));
    std::array<std::int32_t, 3> codes{};
    for (int method = 0; method < 3; ++method)
        codes[static_cast<std::size_t>(method)] = GetCursorFeatureCode(desktop, method).code;
    return codes;
}

TEST(Win32CursorCode, StandardCursorsGiveStableDistinctCodes) {
    const auto desktop = Win32Desktop::Open();
    ASSERT_NE(desktop, nullptr);
    win32test::TestWindowOptions options;
    options.title = L"cursor codes";
    options.width = 200;
    options.height = 200;
    const auto window = win32test::TestWindow::Create(options);
    ASSERT_NE(window, nullptr);
    ::SetForegroundWindow(window->Handle());
    ASSERT_TRUE(win32test::PumpUntil([&] { return ::GetForegroundWindow() == window->Handle(); }));

    const auto arrow = CodesOf(*desktop, IDC_ARROW);
    const auto hand = CodesOf(*desktop, IDC_HAND);
    EXPECT_EQ(CodesOf(*desktop, IDC_ARROW), arrow);
    EXPECT_EQ(CodesOf(*desktop, IDC_HAND), hand);
    // The ten points of the default method lie along the cursor's edge
    // below the hot spot, where an arrow and a hand differ.
    EXPECT_NE(arrow[0], hand[0]);
    for (const auto& codes : {arrow, hand}) {
        for (const std::int32_t code : codes)
            EXPECT_GE(code, 0);
    }
    // A blank capture gives 0 by the default method: a drawn cursor does not.
    EXPECT_NE(arrow[0], 0);
    EXPECT_NE(hand[0], 0);
}

} // namespace
} // namespace huegrab
