// SPDX-License-Identifier: GPL-3.0-or-later
// Large reads go through shared memory; when the server refuses such a read
// (an X error), the plain read that follows must still fill the block. The
// program's own XShmGetImage below stands in for libXext's and, while asked
// to, sends the request for a window that does not exist, so the server
// answers it with a real error.

#include <gtest/gtest.h>
// gtest first: Xlib's None macro would break gtest's type of that name.
#include "tests/x11/x11_server_test.h"

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#include <dlfcn.h>
#include <string>

namespace {
bool refuseSharedMemoryReads = false;
int sharedMemoryReads = 0;
} // namespace

extern "C" Bool XShmGetImage(Display* display, Drawable drawable, XImage* image, int x, int y,
                             unsigned long planeMask) {
    using Real = Bool (*)(Display*, Drawable, XImage*, int, int, unsigned long);
    static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "XShmGetImage"));
    ++sharedMemoryReads;
    if (refuseSharedMemoryReads)
        drawable = 0x7FFFFFF; // no such window: BadDrawable
    return real(display, drawable, image, x, y, planeMask);
}

namespace huegrab {
namespace {

using SharedMemoryRefused = X11ServerTest<640, 480>;

TEST_F(SharedMemoryRefused, LargeReadsFallBackToPlainReads) {
    ASSERT_EQ(server_->Run({"xsetroot", "-solid", "#3366CC"}).exitCode, 0);
    constexpr ColorValue kRoot = 0xCC6633;
    refuseSharedMemoryReads = true;
    sharedMemoryReads = 0;
    struct Case {
        const char* what;
        ScreenRect area;
    };
    for (const Case& c :
         {Case{"whole screen", {0, 0, 640, 480}}, Case{"large block", {10, 20, 300, 300}}}) {
        const PixelBlock block =
            desktop_->ReadBlock(c.area.x, c.area.y, c.area.width, c.area.height);
        EXPECT_EQ(block.At(c.area.x, c.area.y), kRoot) << c.what;
        EXPECT_EQ(block.At(c.area.x + c.area.width - 1, c.area.y + c.area.height - 1), kRoot)
            << c.what;
        // What a search reads: strip by strip, every row of the area.
        std::int32_t rows = 0;
        bool allRoot = true;
        desktop_->ReadBlockInStrips(c.area, [&](const PixelBlock& strip) {
            rows += strip.height;
            for (const ColorValue pixel : strip.pixels)
                allRoot = allRoot && pixel == kRoot;
            return true;
        });
        EXPECT_EQ(rows, c.area.height) << c.what;
        EXPECT_TRUE(allRoot) << c.what;
    }
    EXPECT_GT(sharedMemoryReads, 0) << "no read went through shared memory";
    refuseSharedMemoryReads = false;
}

} // namespace
} // namespace huegrab
