// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// For the backend's own sources only: pulls in Xlib.

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#include <functional>
#include <memory>

namespace huegrab::x11 {

// Reads rectangles of a window through MIT-SHM: the server writes the
// pixels straight into memory shared with this process instead of sending
// them over the connection. A large rectangle comes in strips of rows
// through one small segment that is made once and reused, so that neither
// side pays for mapping megabytes of fresh memory.
class ShmImageReader {
public:
    // nullptr when the server offers no MIT-SHM.
    static std::unique_ptr<ShmImageReader> Create(Display* display, Visual* visual, int depth);
    ~ShmImageReader();
    ShmImageReader(const ShmImageReader&) = delete;
    ShmImageReader& operator=(const ShmImageReader&) = delete;

    // Reads the rectangle strip by strip; `take` gets each strip as a
    // ZPixmap image with the root y of its first row, top to bottom, and
    // returns false to stop there. False when shared memory fails (a remote
    // server refuses to attach; the reader then stays off) or a strip cannot
    // be read; the strips already taken stay taken.
    bool Read(Window window, int x, int y, int width, int height,
              const std::function<bool(XImage& strip, int stripTop)>& take);

private:
    ShmImageReader(Display* display, Visual* visual, int depth);
    bool Attach();
    void Release();

    Display* display_;
    Visual* visual_;
    int depth_;
    bool broken_ = false;
    XShmSegmentInfo segment_{};
    bool attached_ = false;
};

} // namespace huegrab::x11
