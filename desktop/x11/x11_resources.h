// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Owners of Xlib resources, for the backend's own sources only: this header
// pulls in Xlib and must not reach a shared header.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <memory>

namespace huegrab::x11 {

struct DisplayCloser {
    void operator()(Display* display) const {
        if (display)
            XCloseDisplay(display);
    }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct ImageDestroyer {
    void operator()(XImage* image) const {
        if (image)
            XDestroyImage(image);
    }
};
using ImagePtr = std::unique_ptr<XImage, ImageDestroyer>;

// Memory Xlib hands out for the caller to XFree.
struct XFreeDeleter {
    void operator()(void* memory) const {
        if (memory)
            XFree(memory);
    }
};
template <typename T> using XFreePtr = std::unique_ptr<T, XFreeDeleter>;

struct ModifierKeymapFreer {
    void operator()(XModifierKeymap* map) const {
        if (map)
            XFreeModifiermap(map);
    }
};
using ModifierKeymapPtr = std::unique_ptr<XModifierKeymap, ModifierKeymapFreer>;

struct StringListFreer {
    void operator()(char** list) const {
        if (list)
            XFreeStringList(list);
    }
};
using StringListPtr = std::unique_ptr<char*, StringListFreer>;

// Whether a window carries the property, without reading its value.
bool HasProperty(Display* display, Window window, Atom property);

} // namespace huegrab::x11
