// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_services.h"

#include <memory>
#include <string>

namespace huegrab {

// What a Linux program reads in a Wayland session: the desktop portal
// (screen pixels only), or the X server of XWayland, which a program whose
// own window runs on XWayland needs for that window.
enum class WaylandSession { UsePortal, UseXWayland };

// Opens the desktop of the backend this build was made for: on Linux X11,
// or in a Wayland session what `onWayland` says (HUEGRAB_DESKTOP=x11 or
// wayland in the environment overrides both); Win32 on Windows. On failure
// it returns nullptr and puts into `whyNot` one or two lines for a person
// at a terminal.
std::unique_ptr<DesktopServices> OpenDesktop(std::string& whyNot,
                                             WaylandSession onWayland = WaylandSession::UsePortal);

// Whether OpenDesktop(…, onWayland) reads a Wayland session through
// XWayland, where windows that draw natively on Wayland read as black: the
// session is a Wayland one and X11 was chosen for it. Never on Windows.
bool ReadsThroughXWayland(WaylandSession onWayland = WaylandSession::UsePortal);

// How the process ends when its desktop goes away while it runs (the X
// server quits): "<program>: lost the connection ..." on stderr, then exit
// with `status`. Call it before OpenDesktop. Without it, "huegrab" and 1.
// A Windows desktop does not go away under a running program.
void ExitWhenTheDesktopIsLost(const char* program, int status);

} // namespace huegrab
