// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/open_desktop.h"
#include "desktop/x11/x11_desktop.h"
#include "desktop/x11/x11_error_trap.h"

#include <cstdlib>

namespace huegrab {

std::unique_ptr<DesktopServices> OpenDesktop(std::string& whyNot) {
    if (auto desktop = X11Desktop::Open())
        return desktop;
    const char* display = std::getenv("DISPLAY");
    whyNot = std::string("cannot open the X display \"") + (display ? display : "") +
             "\".\nRun it on an X11 desktop, or on a virtual one: xvfb-run -a huegrab";
    return nullptr;
}

void ExitWhenTheDesktopIsLost(const char* program, int status) {
    x11::SetLostConnectionExit(program, status);
}

} // namespace huegrab
