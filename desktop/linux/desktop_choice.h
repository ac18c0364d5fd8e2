// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace huegrab {

enum class LinuxDesktop { X11, Wayland };

// The session as the environment describes it, each value as read (null
// when unset).
struct SessionEnvironment {
    const char* override = nullptr;       // HUEGRAB_DESKTOP: x11 or wayland
    const char* waylandDisplay = nullptr; // WAYLAND_DISPLAY
    const char* sessionType = nullptr;    // XDG_SESSION_TYPE
};

// The chosen desktop, or an error line for an override that names none.
struct DesktopChoice {
    std::optional<LinuxDesktop> desktop;
    std::string error;
};

// HUEGRAB_DESKTOP wins when set (and not empty); otherwise a Wayland session
// (WAYLAND_DISPLAY set, or XDG_SESSION_TYPE=wayland) gets `onWayland` and
// every other session X11.
DesktopChoice ChooseLinuxDesktop(const SessionEnvironment& environment, LinuxDesktop onWayland);

// The same for the process's own environment.
SessionEnvironment ReadSessionEnvironment();

} // namespace huegrab
