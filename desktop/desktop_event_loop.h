// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace huegrab {

// What the UI's event loop offers a desktop backend for delivering its
// events (hotkey presses). A backend whose events arrive on a file
// descriptor (X11) asks to have it watched; one whose events come through
// the thread's own message queue (Win32) asks for nothing.
class DesktopEventLoop {
public:
    virtual ~DesktopEventLoop() = default;

    // Calls `ready` whenever `fd` becomes readable.
    virtual void WatchReadable(int fd, std::function<void()> ready) = 0;
    // Calls `idle` each time before the loop goes to sleep.
    virtual void BeforeSleeping(std::function<void()> idle) = 0;
};

} // namespace huegrab
