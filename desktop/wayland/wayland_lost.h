// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace huegrab::wayland {

// How the process ends once the portal gives no more screenshots: as a
// lost X connection ends it, "<program>: <reason>" on stderr and exit with
// `status`. Without a call, "huegrab" and 1.
void SetLostDesktopExit(const char* program, int status);

// Says why on stderr and ends the process as set above.
[[noreturn]] void LoseDesktop(const std::string& reason);

} // namespace huegrab::wayland
