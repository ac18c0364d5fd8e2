// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/wayland/glib_handles.h"

#include <chrono>
#include <optional>
#include <string>

namespace huegrab::wayland {

// The desktop portal's Screenshot interface on the session bus: the one way
// a Wayland session hands a program other programs' pixels without asking
// the user each time (once the permission store allows it).
class ScreenshotPortal {
public:
    // nullopt, with a line for a person in `whyNot`, when there is no session
    // bus or no screenshot portal on it.
    static std::optional<ScreenshotPortal> Open(std::string& whyNot);

    // Takes a screenshot of the whole desktop without a dialog and returns
    // the path of the PNG file the portal wrote, which the caller then
    // owns. Waits at most `timeout` for the portal's answer (the desktop may
    // first ask the user for permission).
    std::optional<std::string> Take(std::chrono::milliseconds timeout, std::string& whyNot);

private:
    explicit ScreenshotPortal(ConnectionPtr bus) : bus_(std::move(bus)) {}

    ConnectionPtr bus_;
};

} // namespace huegrab::wayland
