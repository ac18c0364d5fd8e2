// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/x11/x11_event_masks.h"
#include "desktop/x11/x11_window_walk.h"
#include "desktop/x11/x11_windows_at_point.h"

#include <X11/Xlib.h>
#include <optional>
#include <string>
#include <vector>

namespace huegrab::x11 {

// Reads other clients' windows. Any of them may vanish while it is read;
// a vanished window reads as having no title and no class and is left out
// of walks, it never ends the program.
class WindowReader {
public:
    // Selections on other clients' windows go through `masks`, which must
    // outlive the reader.
    WindowReader(Display* display, Window root, EventMasks& masks);

    // The window a user means at a root point (see PointedWindowFinder):
    // under a window manager the client window of the frame there; the root
    // itself where no window covers the point, None outside the screen.
    Window WindowAt(int x, int y, int rootWidth, int rootHeight);

    // The windows the window manager manages, topmost first, as it stacks
    // them; without a window manager that publishes its stacking, the
    // top-level windows, each as the client window a window manager may
    // have wrapped in a frame (see WalkTopLevelWindows). The requests of
    // each step go out together.
    std::vector<Window> TopLevelWindows() const;
    // The walk of top-level windows with one request at a time: the
    // yardstick the batched walk is checked and measured against where no
    // window manager publishes its stacking.
    std::vector<Window> TopLevelWindowsOneByOne() const;

    struct Titled {
        Window window = None;
        std::string title;
    };
    // The windows of TopLevelWindows that have a title, with the titles of
    // all of them read in one round trip.
    std::vector<Titled> TitledTopLevelWindows() const;

    // _NET_WM_NAME, else WM_NAME, as UTF-8 cut to the window-text rule.
    std::string Title(Window window) const;
    // The class half of WM_CLASS, cut the same way.
    std::string ClassName(Window window) const;
    // Title and class in one round trip.
    struct Names {
        std::string title;
        std::string className;
    };
    Names TitleAndClass(Window window) const;

    // WindowAt and TitleAndClass of the window found. The window found the
    // time before is usually found again, and its names are usually as they
    // were: its name changes and its destruction are selected, and until
    // NoteEvent hears of one its names are not read again. Names the server
    // reported changed are asked for together with the first step of the
    // descent and kept only if the descent ends there; otherwise they are
    // let go unread and the found window's names are read.
    struct Found {
        Window window = None;
        Names names;
    };
    Found WindowAndNamesAt(int x, int y, int rootWidth, int rootHeight);

    // A pointer read can carry the next lookup's first step: the root's
    // child under the pointer comes with the pointer's position, and the
    // names of the window found last can be asked in the same flight.
    // AskLeadNames sends that ask, to go out with the pointer query;
    // SetLead records the pointer's answer. A lookup at exactly that point
    // then starts below the root's child and, when it ends at the window
    // whose names are on their way, takes them: over the same window as
    // before it needs no round trip of its own. A lead serves one lookup;
    // DropLead lets an unused one go, and then no names are asked ahead
    // until a lookup runs again.
    void AskLeadNames();
    void SetLead(int x, int y, Window rootChild);
    void DropLead();

    // An event of this connection: a change to the watched window's names,
    // or a window destroyed. Events the loop has not handed on yet are not
    // seen, so a change at most one tick old can go unnoticed for a tick.
    void NoteEvent(const XEvent& event);

private:
    // Lets the lead's names go unread.
    void DiscardLead();
    Window ClientWindowOf(Window frame) const;
    // The title from the two name properties as read.
    std::string DecodeTitle(const std::optional<PropertyValue>& netWmName,
                            const std::optional<PropertyValue>& wmName) const;
    std::string LegacyName(const PropertyValue& name) const;
    Names DecodeNames(const NamesAndClass& read) const;
    // Watches `window` (None: none) for name changes and destruction, and
    // lets the window watched before go; requests only, no wait. The
    // selection's answer is for EventMasks::Made.
    std::optional<xcb_void_cookie_t> Watch(Window window);

    Display* display_;
    Window root_;
    EventMasks& masks_;
    WalkAtoms atoms_;
    Atom wmState_;
    Atom netWmName_;
    Atom utf8String_;
    Atom compoundText_;
    Window lastFound_ = None; // the guess of the next WindowAndNamesAt
    struct Lead {
        std::optional<NamesAndClassAsked> names; // of namesOf, asked with the pointer
        Window namesOf = None;
        bool placed = false; // the pointer's answer came
        int x = 0;
        int y = 0;
        Window rootChild = None;
    };
    std::optional<Lead> lead_;
    // The window whose names changes are selected, and its names while no
    // change was reported.
    struct Watched {
        Window window = None;
        std::optional<Names> names;
    };
    Watched watched_;
    PointedWindowFinder pointed_;
};

} // namespace huegrab::x11
