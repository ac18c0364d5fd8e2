// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/x11/support/x_connection.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace huegrab::xtest {

void XConnectionCloser::operator()(_XDisplay* display) const {
    if (display)
        XCloseDisplay(display);
}

XConnection OpenConnection(const std::string& displayName) {
    return XConnection(XOpenDisplay(displayName.c_str()));
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return condition();
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

bool WindowManagerRunning(_XDisplay* display) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                          XA_WINDOW, &type, &format, &count, &after, &data);
    bool running = false;
    if (status == Success && type == XA_WINDOW && format == 32 && count == 1 && data) {
        const Window child = static_cast<Window>(*reinterpret_cast<unsigned long*>(data));
        running = child != None;
    }
    if (data)
        XFree(data);
    return running;
}

std::optional<bool> IndicatorOn(_XDisplay* display, const char* name) {
    const Atom atom = XInternAtom(display, name, False);
    int index = 0;
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, &index, &on, nullptr, nullptr))
        return std::nullopt;
    return on == True;
}

} // namespace huegrab::xtest
