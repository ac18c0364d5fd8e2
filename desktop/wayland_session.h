// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <string>
#include <string_view>

namespace huegrab {

// A Wayland session, as its environment shows it (WAYLAND_DISPLAY set and
// not empty, or XDG_SESSION_TYPE "wayland"). The X11 desktop then reads
// through XWayland, which has no pixels of windows that draw natively on
// Wayland: they read as black. Never on Windows, where a Wayland variable
// can only be one inherited through wine.
inline bool IsWaylandSession() {
#ifdef _WIN32
    return false;
#else
    const char* display = std::getenv("WAYLAND_DISPLAY");
    const char* type = std::getenv("XDG_SESSION_TYPE");
    return (display && *display) || (type && std::string_view(type) == "wayland");
#endif
}

// The line a program says once on stderr in a Wayland session; `more` is a
// clause of its own, put before the full stop.
inline std::string WaylandSessionNote(std::string_view program, std::string_view more = {}) {
    std::string note(program);
    note.append(": this is a Wayland session; ").append(program);
    note.append(" runs through XWayland. Windows of other programs that draw natively on "
                "Wayland read as black");
    return note.append(more).append(".\n");
}

} // namespace huegrab
