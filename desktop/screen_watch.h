// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/screen_geometry.h"

#include <chrono>

namespace huegrab {

enum class ScreenWait {
    Changed,  // something inside the region may have been drawn
    TimedOut, // nothing was drawn there within the timeout
    Failed,   // the desktop stopped answering; callers fall back to polling
};

// Change notification for one region of the screen, for a caller that waits
// for a pixel to change without reading it over and over. Changes are
// collected from the moment the watch is made, so a caller makes the watch,
// then reads the pixel, then waits: nothing drawn in between is missed.
class ScreenChangeWatch {
public:
    virtual ~ScreenChangeWatch() = default;

    // Blocks until the region may have been drawn on since the watch was
    // made or since the previous Changed, or until the timeout passes.
    virtual ScreenWait WaitForChange(std::chrono::milliseconds timeout) = 0;
};

} // namespace huegrab
