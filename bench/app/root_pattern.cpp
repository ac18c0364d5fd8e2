// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/app/root_pattern.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>

namespace huegrab::bench {
namespace {

struct ImageDeleter {
    void operator()(XImage* image) const { XDestroyImage(image); }
};

} // namespace

std::string PatternName(RootPattern pattern) {
    switch (pattern) {
    case RootPattern::Solid:
        return "still";
    case RootPattern::TwoColors:
        return "two colours";
    case RootPattern::RandomColors:
        return "random colours";
    }
    return {};
}

bool PaintRoot(Display* display, RootPattern pattern) {
    if (display == nullptr)
        return false;
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const auto width = static_cast<unsigned>(DisplayWidth(display, screen));
    const auto height = static_cast<unsigned>(DisplayHeight(display, screen));
    const auto depth = static_cast<unsigned>(DefaultDepth(display, screen));
    if (depth != 24 && depth != 32)
        return false;

    // The image owns this buffer once created (XDestroyImage frees it).
    auto* data = static_cast<char*>(std::malloc(std::size_t{width} * height * 4));
    if (data == nullptr)
        return false;
    std::unique_ptr<XImage, ImageDeleter> image(XCreateImage(
        display, DefaultVisual(display, screen), depth, ZPixmap, 0, data, width, height, 32, 0));
    if (!image) {
        std::free(data);
        return false;
    }
    std::mt19937 random(20261207);
    auto* pixels = reinterpret_cast<std::uint32_t*>(data);
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            std::uint32_t pixel = 0x336699;
            if (pattern == RootPattern::TwoColors)
                pixel = (x + y) % 2 == 0 ? 0xFF00FF : 0x00FFFF;
            else if (pattern == RootPattern::RandomColors)
                pixel = random() & 0xFFFFFF;
            pixels[std::size_t{y} * width + x] = pixel;
        }
    }

    const Pixmap pixmap = XCreatePixmap(display, root, width, height, depth);
    GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XPutImage(display, pixmap, gc, image.get(), 0, 0, 0, 0, width, height);
    XFreeGC(display, gc);
    // The root keeps its own reference to the pixmap, as xsetroot relies on.
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XFreePixmap(display, pixmap);
    XClearWindow(display, root);
    XSync(display, False);
    return true;
}

void WarpPointer(Display* display, int x, int y) {
    XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, x, y);
    XFlush(display);
}

} // namespace huegrab::bench
