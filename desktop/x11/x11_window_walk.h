// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The top-level walk with its requests sent level by level and the replies
// collected afterwards, through the XCB connection under Xlib: a desktop of
// a thousand framed windows costs a handful of round trips instead of tens
// of thousands. Backend-internal: pulls in Xlib.

#include <X11/Xlib.h>
#include <optional>
#include <string>
#include <vector>

namespace huegrab::x11 {

struct WalkAtoms {
    Atom wmState = None;
    Atom netClientList = None;
    Atom netClientListStacking = None;
    Atom netSupportingWmCheck = None;
    Atom netWmName = None;
    Atom utf8String = None;
};

// One property value as read, copied out of the reply. Names are read up
// to a limit well past what a title or class can show; a value that goes
// on past it loses a last character the limit cut in half.
struct PropertyValue {
    Atom type = None;
    int format = 0;
    std::string bytes; // 8-bit properties only
};

// _NET_WM_NAME and WM_NAME of a window as read; nullopt where the window
// lacks the property or is gone. WM_NAME is left unread where _NET_WM_NAME
// holds a UTF-8 title.
struct NameProperties {
    std::optional<PropertyValue> netWmName;
    std::optional<PropertyValue> wmName;
};

// Both name properties and WM_CLASS of one window, asked together: one
// round trip. nullopt where the window lacks a property or is gone.
struct NamesAndClass {
    NameProperties names;
    std::optional<PropertyValue> wmClass;
};
NamesAndClass ReadNamesAndClass(Display* display, Window window, const WalkAtoms& atoms);

// The same read in two halves, so that other requests can share its round
// trip: the requests go out with Ask (sent with the next flush), the
// replies are taken by Collect. Every asked read must be collected or
// discarded once.
struct NamesAndClassAsked {
    unsigned netWmName = 0;
    unsigned wmName = 0;
    unsigned wmClass = 0;
};
NamesAndClassAsked AskNamesAndClass(Display* display, Window window, const WalkAtoms& atoms);
NamesAndClass CollectNamesAndClass(Display* display, const NamesAndClassAsked& asked);
// Lets the answers go unread, errors included.
void DiscardNamesAndClass(Display* display, const NamesAndClassAsked& asked);

struct TopLevelWalk {
    std::vector<Window> windows;
    std::vector<NameProperties> names; // one per window when asked for
};

// The windows the window manager manages, topmost first, as it publishes
// them in _NET_CLIENT_LIST_STACKING (while it runs): no helper windows
// (never-mapped selection owners, the window manager's own). Without that
// list, the top-level windows topmost first, each as the client window a
// window manager may have wrapped in a frame (the window carrying
// WM_STATE), else as itself. With `withNames`, the name properties of each.
// Windows that vanish during the walk are left out or read without names.
//
// In the walk of top-level windows, a window the window manager lists in
// _NET_CLIENT_LIST stands for the frame it sits in without a search below
// that frame.
TopLevelWalk WalkTopLevelWindows(Display* display, Window root, const WalkAtoms& atoms,
                                 bool withNames);

} // namespace huegrab::x11
