// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/live_screen.h"

#include <gtest/gtest.h>

namespace huegrab::wayland {
namespace {

// A monitor at its place in the desktop, its frame at 1:1 or scaled: each
// desktop point maps to the frame pixel that shows it, and each frame pixel
// (where a cast puts the pointer) back to the desktop point it shows.
TEST(CastMapping, DesktopPointsAndFramePixelsBothWays) {
    const struct {
        const char* what;
        CastMapping mapping;
        ScreenPoint desktop;
        std::optional<ScreenPoint> frame;
    } cases[] = {
        {"1:1 at the origin", {{0, 0, 1280, 720}, 1280, 720}, {640, 360}, ScreenPoint{640, 360}},
        {"1:1, last pixel", {{0, 0, 1280, 720}, 1280, 720}, {1279, 719}, ScreenPoint{1279, 719}},
        {"1:1, past the edge", {{0, 0, 1280, 720}, 1280, 720}, {1280, 0}, std::nullopt},
        {"1:1, left of it", {{0, 0, 1280, 720}, 1280, 720}, {-1, 5}, std::nullopt},
        {"second monitor", {{1920, 100, 1280, 720}, 1280, 720}, {1920, 100}, ScreenPoint{0, 0}},
        {"second monitor, off", {{1920, 100, 1280, 720}, 1280, 720}, {1919, 100}, std::nullopt},
        {"scale 2", {{0, 0, 1280, 720}, 2560, 1440}, {640, 360}, ScreenPoint{1281, 721}},
        {"scale 2, last point",
         {{0, 0, 1280, 720}, 2560, 1440},
         {1279, 719},
         ScreenPoint{2559, 1439}},
        {"scale 1.5, moved", {{100, 0, 1280, 720}, 1920, 1080}, {101, 1}, ScreenPoint{2, 2}},
        {"scale 0.5", {{0, 0, 1280, 720}, 640, 360}, {641, 361}, ScreenPoint{320, 180}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.mapping.ToFrame(c.desktop.x, c.desktop.y), c.frame) << c.what;
        if (c.frame) {
            EXPECT_EQ(c.mapping.ToDesktop(*c.frame), c.desktop) << c.what;
        }
    }
    // Coordinates at the limits do not wrap.
    const CastMapping far{{2147483000, 0, 600, 10}, 600, 10};
    EXPECT_EQ(far.ToFrame(2147483599, 0), (ScreenPoint{599, 0}));
    EXPECT_EQ(far.ToFrame(2147483647, 0), std::nullopt);
    EXPECT_EQ(far.ToFrame(-2147483647 - 1, 0), std::nullopt);
}

} // namespace
} // namespace huegrab::wayland
