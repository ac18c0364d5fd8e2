// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/linux/desktop_choice.h"

#include <cstdlib>
#include <string_view>

namespace huegrab {
namespace {

bool Set(const char* value) {
    return value && *value;
}

} // namespace

DesktopChoice ChooseLinuxDesktop(const SessionEnvironment& environment, LinuxDesktop onWayland) {
    if (Set(environment.override)) {
        const std::string_view name = environment.override;
        if (name == "x11")
            return {LinuxDesktop::X11, {}};
        if (name == "wayland")
            return {LinuxDesktop::Wayland, {}};
        return {std::nullopt,
                "HUEGRAB_DESKTOP is \"" + std::string(name) + "\"; it may be x11 or wayland"};
    }
    const bool wayland =
        Set(environment.waylandDisplay) ||
        (environment.sessionType && std::string_view(environment.sessionType) == "wayland");
    return {wayland ? onWayland : LinuxDesktop::X11, {}};
}

SessionEnvironment ReadSessionEnvironment() {
    return {std::getenv("HUEGRAB_DESKTOP"), std::getenv("WAYLAND_DISPLAY"),
            std::getenv("XDG_SESSION_TYPE")};
}

} // namespace huegrab
