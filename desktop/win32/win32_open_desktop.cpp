// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/open_desktop.h"
#include "desktop/win32/win32_desktop.h"

#include <memory>
#include <windows.h>
#undef OpenDesktop // user32's OpenDesktopW, not this one

namespace huegrab {

std::unique_ptr<DesktopServices> OpenDesktop(std::string& whyNot, WaylandSession /*onWayland*/,
                                             ScreenShareConsent /*consent*/) {
    if (auto desktop = Win32Desktop::Open())
        return desktop;
    whyNot = "cannot create the hidden window that receives the global hotkey.";
    return nullptr;
}

bool ReadsThroughXWayland(const DesktopServices& /*desktop*/) {
    return false;
}

void ExitWhenTheDesktopIsLost(const char* /*program*/, int /*status*/) {}

} // namespace huegrab
