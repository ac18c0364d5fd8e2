// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/linux/desktop_choice.h"
#include "desktop/open_desktop.h"
#include "desktop/wayland/wayland_desktop.h"
#include "desktop/wayland/wayland_lost.h"
#include "desktop/x11/x11_desktop.h"
#include "desktop/x11/x11_error_trap.h"

#include <cstdlib>

namespace huegrab {
namespace {

std::unique_ptr<DesktopServices> OpenX11(std::string& whyNot) {
    if (auto desktop = X11Desktop::Open())
        return desktop;
    const char* display = std::getenv("DISPLAY");
    whyNot = std::string("cannot open the X display \"") + (display ? display : "") +
             "\".\nRun it on an X11 desktop, or on a virtual one: xvfb-run -a huegrab";
    return nullptr;
}

std::unique_ptr<DesktopServices> OpenWayland(std::string& whyNot) {
    std::string reason;
    if (auto desktop = WaylandDesktop::Open(reason))
        return desktop;
    whyNot = "cannot read this Wayland desktop: " + reason +
             ".\nHUEGRAB_DESKTOP=x11 reads it through XWayland instead, where windows of "
             "Wayland programs read as black";
    return nullptr;
}

} // namespace

std::unique_ptr<DesktopServices> OpenDesktop(std::string& whyNot, WaylandSession onWayland) {
    const DesktopChoice choice = ChooseLinuxDesktop(
        ReadSessionEnvironment(),
        onWayland == WaylandSession::UsePortal ? LinuxDesktop::Wayland : LinuxDesktop::X11);
    if (!choice.desktop) {
        whyNot = choice.error;
        return nullptr;
    }
    return *choice.desktop == LinuxDesktop::Wayland ? OpenWayland(whyNot) : OpenX11(whyNot);
}

bool ReadsThroughXWayland(WaylandSession onWayland) {
    const SessionEnvironment environment = ReadSessionEnvironment();
    const DesktopChoice session = ChooseLinuxDesktop(
        {nullptr, environment.waylandDisplay, environment.sessionType}, LinuxDesktop::Wayland);
    const DesktopChoice choice = ChooseLinuxDesktop(
        environment,
        onWayland == WaylandSession::UsePortal ? LinuxDesktop::Wayland : LinuxDesktop::X11);
    return session.desktop == LinuxDesktop::Wayland && choice.desktop == LinuxDesktop::X11;
}

void ExitWhenTheDesktopIsLost(const char* program, int status) {
    x11::SetLostConnectionExit(program, status);
    wayland::SetLostDesktopExit(program, status);
}

} // namespace huegrab
