// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_event_loop.h"
#include "desktop/desktop_windows.h"

#include <functional>

namespace huegrab {

// The desktop's role of delivering its events (hotkey presses, a watched
// window's end) on the UI thread.
class DesktopEvents {
public:
    virtual ~DesktopEvents() = default;

    // Hooks the backend's event delivery into the UI's event loop. The hooks
    // stay until the loop or the backend goes; events then reach their
    // handlers without further calls.
    virtual void AttachEventLoop(DesktopEventLoop& loop) = 0;
    // Handles whatever desktop events are pending, without blocking.
    virtual void DispatchEvents() = 0;
    // Calls `destroyed` (through the event loop, like the hotkey handler)
    // once another program destroys `window`, one of the toolkit's
    // top-level windows. One window is watched at a time; a later call
    // replaces the watch, and a null function ends it. A desktop where no
    // other program can destroy the window (Win32: only its own thread may)
    // keeps this default.
    virtual void WatchWindowDestroyed(WindowHandle /*window*/,
                                      std::function<void()> /*destroyed*/) {}
};

} // namespace huegrab
