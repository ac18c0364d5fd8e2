// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/linux/desktop_choice.h"
#include "desktop/linux/portal_with_xwayland.h"
#include "desktop/open_desktop.h"
#include "desktop/wayland/wayland_desktop.h"
#include "desktop/wayland/wayland_lost.h"
#include "desktop/wayland_session.h"
#include "desktop/x11/x11_desktop.h"
#include "desktop/x11/x11_error_trap.h"

#include <cstdio>
#include <cstdlib>

namespace huegrab {
namespace {

std::unique_ptr<X11Desktop> OpenX11(std::string& whyNot) {
    if (auto desktop = X11Desktop::Open())
        return desktop;
    const char* display = std::getenv("DISPLAY");
    whyNot = std::string("cannot open the X display \"") + (display ? display : "") +
             "\".\nRun it on an X11 desktop, or on a virtual one: xvfb-run -a huegrab";
    return nullptr;
}

std::string WaylandFailure(const std::string& reason) {
    return "cannot read this Wayland desktop: " + reason +
           ".\nHUEGRAB_DESKTOP=x11 reads it through XWayland instead, where windows of "
           "Wayland programs read as black";
}

std::unique_ptr<DesktopServices> OpenWayland(std::string& whyNot, ScreenShareConsent consent) {
    std::string reason;
    if (auto desktop =
            WaylandDesktop::Open(WaylandReading::Screenshots, std::move(consent), reason))
        return desktop;
    whyNot = WaylandFailure(reason);
    return nullptr;
}

// The window's desktop: the portal's cast with XWayland's keys, or
// XWayland alone (and its black windows) where no portal answers.
std::unique_ptr<DesktopServices> OpenLiveWithXWayland(std::string& whyNot,
                                                      ScreenShareConsent consent) {
    auto xwayland = OpenX11(whyNot);
    if (!xwayland)
        return nullptr;
    std::string reason;
    auto portal = WaylandDesktop::Open(WaylandReading::Live, std::move(consent), reason);
    if (!portal) {
        std::fprintf(stderr, "huegrab: %s; reading through XWayland instead.\n",
                     ("no desktop portal to read this Wayland desktop: " + reason).c_str());
        return xwayland;
    }
    return std::make_unique<PortalWithXWayland>(std::move(portal), std::move(xwayland));
}

} // namespace

std::unique_ptr<DesktopServices> OpenDesktop(std::string& whyNot, WaylandSession onWayland,
                                             ScreenShareConsent consent) {
    const DesktopChoice choice =
        ChooseLinuxDesktop(ReadSessionEnvironment(), LinuxDesktop::Wayland);
    if (!choice.desktop) {
        whyNot = choice.error;
        return nullptr;
    }
    if (*choice.desktop == LinuxDesktop::X11)
        return OpenX11(whyNot);
    return onWayland == WaylandSession::LiveWithXWayland
               ? OpenLiveWithXWayland(whyNot, std::move(consent))
               : OpenWayland(whyNot, std::move(consent));
}

bool ReadsThroughXWayland(const DesktopServices& desktop) {
    return IsWaylandSession() && dynamic_cast<const X11Desktop*>(&desktop) != nullptr;
}

void ExitWhenTheDesktopIsLost(const char* program, int status) {
    x11::SetLostConnectionExit(program, status);
    wayland::SetLostDesktopExit(program, status);
}

} // namespace huegrab
