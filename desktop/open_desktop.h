// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_services.h"

#include <memory>
#include <string>

namespace huegrab {

// Opens the desktop of the backend this build was made for (X11 on Linux,
// Win32 on Windows). On failure it returns nullptr and puts into `whyNot`
// one or two lines for a person at a terminal.
std::unique_ptr<DesktopServices> OpenDesktop(std::string& whyNot);

// How the process ends when its desktop goes away while it runs (the X
// server quits): "<program>: lost the connection ..." on stderr, then exit
// with `status`. Call it before OpenDesktop. Without it, "huegrab" and 1.
// A Windows desktop does not go away under a running program.
void ExitWhenTheDesktopIsLost(const char* program, int status);

} // namespace huegrab
