// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/linux/desktop_choice.h"

#include <gtest/gtest.h>

namespace huegrab {
namespace {

// Which desktop a Linux program opens, from the variables of its session.
TEST(DesktopChoice, TheSessionChoosesAndHuegrabDesktopOverrides) {
    constexpr auto X11 = LinuxDesktop::X11;
    constexpr auto Wayland = LinuxDesktop::Wayland;
    struct Case {
        SessionEnvironment environment;
        LinuxDesktop onWayland;
        std::optional<LinuxDesktop> expected;
    };
    const std::vector<Case> cases = {
        {{nullptr, nullptr, nullptr}, Wayland, X11},
        {{nullptr, nullptr, "x11"}, Wayland, X11},
        {{nullptr, nullptr, "tty"}, Wayland, X11},
        {{nullptr, "", ""}, Wayland, X11},
        {{nullptr, "wayland-0", nullptr}, Wayland, Wayland},
        {{nullptr, nullptr, "wayland"}, Wayland, Wayland},
        {{nullptr, "wayland-0", "x11"}, Wayland, Wayland},
        // A program whose window runs on XWayland keeps X11 there.
        {{nullptr, "wayland-0", "wayland"}, X11, X11},
        {{"", "wayland-0", nullptr}, Wayland, Wayland},
        {{"x11", "wayland-0", "wayland"}, Wayland, X11},
        {{"wayland", nullptr, "x11"}, X11, Wayland},
        {{"wayland", "wayland-0", nullptr}, X11, Wayland},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.environment.override ? c.environment.override : "(unset)") << " "
                     << (c.environment.waylandDisplay ? c.environment.waylandDisplay : "(unset)")
                     << " " << (c.environment.sessionType ? c.environment.sessionType : "(unset)"));
        const DesktopChoice choice = ChooseLinuxDesktop(c.environment, c.onWayland);
        EXPECT_EQ(choice.desktop, c.expected);
        EXPECT_EQ(choice.error, "");
    }
    for (const char* wrong : {"X11", "gnome", "wayland ", "win32"}) {
        const DesktopChoice choice = ChooseLinuxDesktop({wrong, nullptr, nullptr}, X11);
        EXPECT_FALSE(choice.desktop) << wrong;
        EXPECT_EQ(choice.error,
                  "HUEGRAB_DESKTOP is \"" + std::string(wrong) + "\"; it may be x11 or wayland");
    }
}

} // namespace
} // namespace huegrab
