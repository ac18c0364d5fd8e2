// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window a user means at a root point. Backend-internal: pulls in Xlib.

#include <X11/Xlib.h>
#include <chrono>
#include <vector>

namespace huegrab::x11 {

// From the root's child at a point (a window manager's frame, a program's
// top-level window, a popup), the window the user means there:
// - the client window the frame holds: the window carrying WM_STATE,
//   searched breadth first below the frame as xprop and xwininfo do on a
//   click, so that a title bar or an inner widget gives the window whose
//   title and class the user sees;
// - where nothing below carries WM_STATE (no window manager runs) or the
//   window is override-redirect (a menu, a tooltip): the innermost window
//   at the point.
// An InputOnly window is never the answer: the window it lies in stands for
// it. A window that vanishes on the way is answered by the last one reached.
//
// The requests of each level go out together through the XCB connection.
// The client found below the last frame is remembered, and on the next
// lookup over that frame checked (still there, still inside it) in the same
// round trip that reads the frame's attributes: over one window, a lookup
// costs one round trip. A frame found to hold no client is searched again
// at most once a second, so that a window manager's frame caught before it
// took its client in is not taken for a bare window for long.
class PointedWindowFinder {
public:
    PointedWindowFinder(Display* display, Window root, Atom wmState);

    // rootChild None: the point lies on the root itself, which is the answer.
    Window FromRootChild(Window rootChild, int x, int y);

private:
    // The client below `frame`, and the windows between: path.front() is the
    // frame, path.back() the client. Empty when none carries WM_STATE.
    std::vector<Window> SearchClient(Window frame) const;
    // The innermost window at the point from `child`, one level below
    // `parent`, which is `depth` levels below the root.
    Window Descend(Window parent, Window child, int depth, int x, int y) const;

    Display* display_;
    Window root_;
    Atom wmState_;
    struct Remembered {
        Window frame = None;
        std::vector<Window> path; // frame … client; empty: no client below
        std::chrono::steady_clock::time_point searched;
    };
    Remembered remembered_;
};

} // namespace huegrab::x11
