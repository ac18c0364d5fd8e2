// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/screen_geometry.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace huegrab {

// Window handles are 32-bit values, shown as signed decimal. 0 is no window.
using WindowHandle = std::int32_t;

// Titles and class names pass through a buffer of 255 bytes, so at most 254
// of them survive.
inline constexpr std::size_t kMaxWindowTextBytes = 254;

// A top-level window and its title.
struct TitledWindow {
    WindowHandle handle = 0;
    std::string title;
    friend bool operator==(const TitledWindow&, const TitledWindow&) = default;
};

// A window's title and class name, as WindowText and ClassName read them.
struct WindowNames {
    std::string title;
    std::string className;
};

// The window at a point with its title and class.
struct WindowAtPoint {
    WindowHandle window = 0;
    WindowNames names;
};

// The desktop's role of its windows: which are there, where, and what they
// are called. Calls run on the UI thread, never throw, and report failure
// through their result. Titles and class names come back as UTF-8 of at
// most kMaxWindowTextBytes bytes, never cut inside a character.
class DesktopWindows {
public:
    virtual ~DesktopWindows() = default;

    virtual WindowHandle WindowFromPoint(ScreenPoint point) = 0;
    virtual std::vector<WindowHandle> TopLevelWindows() = 0; // topmost first
    virtual std::string WindowText(WindowHandle window) = 0;
    virtual std::string ClassName(WindowHandle window) = 0;
    // Both at once, for the window under the pointer on every tick; backends
    // that can ask for the two together override it.
    virtual WindowNames WindowTextAndClass(WindowHandle window) {
        return {WindowText(window), ClassName(window)};
    }
    // WindowFromPoint and the names of the window it finds, as the live
    // probe asks on every tick; backends that can answer both in fewer
    // exchanges with their display server override it.
    virtual WindowAtPoint WindowAndNamesAt(ScreenPoint point) {
        const WindowHandle window = WindowFromPoint(point);
        return {window, WindowTextAndClass(window)};
    }
    // The top-level windows that have a title, topmost first, with their
    // titles as WindowText reads them. Backends that can ask about many
    // windows at once override it; this one asks window by window.
    virtual std::vector<TitledWindow> TitledTopLevelWindows() {
        std::vector<TitledWindow> windows;
        for (const WindowHandle handle : TopLevelWindows()) {
            if (std::string title = WindowText(handle); !title.empty())
                windows.push_back({handle, std::move(title)});
        }
        return windows;
    }
};

} // namespace huegrab
