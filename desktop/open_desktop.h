// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_services.h"
#include "desktop/screen_share_consent.h"

#include <memory>
#include <string>

namespace huegrab {

// What a Linux program reads in a Wayland session: the desktop portal's
// screenshots, one per reading (a script), or the portal's screen cast for a
// window that follows the pointer. Such a window runs on XWayland, whose X
// server then gives it the hotkey and the key state; without the portal it
// reads the whole desktop through XWayland.
enum class WaylandSession { Screenshots, LiveWithXWayland };

// Opens the desktop of the backend this build was made for: on Linux X11,
// or in a Wayland session what `onWayland` says (HUEGRAB_DESKTOP=x11 or
// wayland in the environment overrides both); Win32 on Windows. `consent`
// keeps a Wayland desktop's screen-share token between runs. On failure it
// returns nullptr and puts into `whyNot` one or two lines for a person at a
// terminal.
std::unique_ptr<DesktopServices> OpenDesktop(std::string& whyNot,
                                             WaylandSession onWayland = WaylandSession::Screenshots,
                                             ScreenShareConsent consent = {});

// Whether `desktop` (from OpenDesktop) reads a Wayland session through
// XWayland, where windows that draw natively on Wayland read as black.
// Never on Windows.
bool ReadsThroughXWayland(const DesktopServices& desktop);

// How the process ends when its desktop goes away while it runs (the X
// server quits): "<program>: lost the connection ..." on stderr, then exit
// with `status`. Call it before OpenDesktop. Without it, "huegrab" and 1.
// A Windows desktop does not go away under a running program.
void ExitWhenTheDesktopIsLost(const char* program, int status);

} // namespace huegrab
