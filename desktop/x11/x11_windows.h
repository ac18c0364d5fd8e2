#pragma once

#include <X11/Xlib.h>
#include <string>
#include <vector>

namespace huegrab::x11 {

// Reads other clients' windows. Any of them may vanish while it is read;
// a vanished window reads as having no title and no class and is left out
// of walks, it never ends the program.
class WindowReader {
public:
    WindowReader(Display* display, Window root);

    // The innermost mapped window at a root point; the root itself where no
    // window covers the point, None outside the screen.
    Window WindowAt(int x, int y, int rootWidth, int rootHeight) const;

    // Top-level windows, topmost first, each as the client window a window
    // manager may have wrapped in a frame.
    std::vector<Window> TopLevelWindows() const;

    // _NET_WM_NAME, else WM_NAME, as UTF-8 cut to the window-text rule.
    std::string Title(Window window) const;
    // The class half of WM_CLASS, cut the same way.
    std::string ClassName(Window window) const;

private:
    Window ClientWindowOf(Window frame) const;
    std::string LegacyName(Window window) const;

    Display* display_;
    Window root_;
    Atom wmState_;
    Atom netWmName_;
    Atom utf8String_;
    Atom compoundText_;
};

} // namespace huegrab::x11
