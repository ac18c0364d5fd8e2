// The Win32 desktop tells the size of its screen, as the X11 one does: a
// search without a region covers the whole virtual screen.
#include "desktop/win32/win32_desktop.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace huegrab {
namespace {

TEST(Win32ScreenBounds, TheVirtualScreenIsTheScreensRectangle) {
    const auto desktop = Win32Desktop::Open();
    ASSERT_NE(desktop, nullptr);
    const std::optional<ScreenRect> bounds = desktop->ScreenBounds();
    ASSERT_TRUE(bounds.has_value());
    EXPECT_EQ(*bounds, (ScreenRect{::GetSystemMetrics(SM_XVIRTUALSCREEN),
                                   ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                                   ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                   ::GetSystemMetrics(SM_CYVIRTUALSCREEN)}));
}

} // namespace
} // namespace huegrab
