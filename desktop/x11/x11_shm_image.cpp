// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_shm_image.h"

#include "desktop/x11/x11_error_trap.h"

#include <X11/Xutil.h>
#include <algorithm>
#include <sys/ipc.h>
#include <sys/shm.h>

namespace huegrab::x11 {
namespace {

// The segment's size: small enough that a strip the server has just
// written is still in the processor's cache when this process reads it
// (a whole-screen search ran faster with 128 KiB than with 1 MiB or 32 KiB).
constexpr std::size_t kSegmentBytes = std::size_t{1} << 17;

char* const kNotMapped = reinterpret_cast<char*>(-1);

// An XImage header over memory Xlib does not own.
struct StripDestroyer {
    void operator()(XImage* image) const {
        if (image) {
            image->data = nullptr;
            XDestroyImage(image);
        }
    }
};

} // namespace

std::unique_ptr<ShmImageReader> ShmImageReader::Create(Display* display, Visual* visual,
                                                       int depth) {
    if (!visual || !XShmQueryExtension(display))
        return nullptr;
    return std::unique_ptr<ShmImageReader>(new ShmImageReader(display, visual, depth));
}

ShmImageReader::ShmImageReader(Display* display, Visual* visual, int depth)
    : display_(display), visual_(visual), depth_(depth) {
    segment_.shmid = -1;
    segment_.shmaddr = kNotMapped;
}

ShmImageReader::~ShmImageReader() {
    Release();
}

bool ShmImageReader::Attach() {
    segment_.shmid = shmget(IPC_PRIVATE, kSegmentBytes, IPC_CREAT | 0600);
    if (segment_.shmid < 0)
        return false;
    segment_.shmaddr = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
    // Marked for removal at once: it goes when the last user detaches, even
    // if this process dies.
    shmctl(segment_.shmid, IPC_RMID, nullptr);
    if (segment_.shmaddr == kNotMapped)
        return false;
    segment_.readOnly = False;
    XErrorTrap trap(display_);
    // A server on another machine cannot attach: BadAccess.
    attached_ = XShmAttach(display_, &segment_) != 0 && trap.Sync() == 0;
    return attached_;
}

void ShmImageReader::Release() {
    if (attached_) {
        XShmDetach(display_, &segment_);
        // The server must let go before the memory goes.
        XSync(display_, False);
        attached_ = false;
    }
    if (segment_.shmaddr != kNotMapped)
        shmdt(segment_.shmaddr);
    segment_.shmaddr = kNotMapped;
    segment_.shmid = -1;
}

bool ShmImageReader::Read(Window window, int x, int y, int width, int height,
                          const std::function<bool(XImage& strip, int stripTop)>& take) {
    if (broken_)
        return false;
    if (!attached_ && !Attach()) {
        Release();
        broken_ = true;
        return false;
    }
    std::unique_ptr<XImage, StripDestroyer> strip;
    for (int done = 0; done < height;) {
        const int rowsLeft = height - done;
        if (!strip || strip->height > rowsLeft) {
            strip.reset(XShmCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap,
                                        nullptr, &segment_, static_cast<unsigned>(width), 1));
            if (!strip || strip->bytes_per_line <= 0 ||
                static_cast<std::size_t>(strip->bytes_per_line) > kSegmentBytes)
                return false; // a row wider than the segment: the caller reads it plainly
            const int rows = std::min<int>(
                rowsLeft,
                static_cast<int>(kSegmentBytes / static_cast<std::size_t>(strip->bytes_per_line)));
            strip->height = rows;
            strip->data = segment_.shmaddr;
        }
        if (!XShmGetImage(display_, window, strip.get(), x, y + done, AllPlanes))
            return false;
        if (!take(*strip, y + done))
            return true;
        done += strip->height;
    }
    return true;
}

} // namespace huegrab::x11
