// SPDX-License-Identifier: GPL-3.0-or-later
// The cursor image of the X11 desktop through XFixes, on a private Xvfb:
// cursors of exactly known pixels set by a second client on the root and on
// a window, and a root cursor left behind by a client that has exited.

#include "desktop/x11/x11_desktop.h"
#include "tests/x11/support/test_client.h"
#include "tests/x11/support/xvfb_server.h"
#include "tests/x11/x11_server_test.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace huegrab {
namespace {

using xtest::TestClient;
using xtest::XvfbServer;

// A cursor drawn from two bitmaps and two colours, and the premultiplied
// ARGB image the server must report for it.
struct BitmapCursor {
    int width = 16;
    int height = 16;
    int xhot = 0;
    int yhot = 0;
    std::uint32_t foreground = 0;
    std::uint32_t background = 0;
    std::vector<std::uint8_t> source;
    std::vector<std::uint8_t> mask;

    std::vector<std::uint32_t> ExpectedArgb() const {
        std::vector<std::uint32_t> argb(source.size(), 0);
        for (std::size_t i = 0; i < argb.size(); ++i) {
            if (mask[i])
                argb[i] = 0xFF000000u | (source[i] ? foreground : background);
        }
        return argb;
    }
};

// An 8 x 8 foreground square at (ox, oy) with a 4-pixel background strip to
// its right.
BitmapCursor SquareCursor(int ox, int oy, int xhot, int yhot, std::uint32_t foreground,
                          std::uint32_t background) {
    BitmapCursor cursor;
    cursor.xhot = xhot;
    cursor.yhot = yhot;
    cursor.foreground = foreground;
    cursor.background = background;
    cursor.source.assign(16 * 16, 0);
    cursor.mask.assign(16 * 16, 0);
    for (int y = oy; y < oy + 8; ++y) {
        for (int x = ox; x < ox + 12 && x < 16; ++x) {
            cursor.mask[static_cast<std::size_t>(y * 16 + x)] = 1;
            cursor.source[static_cast<std::size_t>(y * 16 + x)] = x < ox + 8;
        }
    }
    return cursor;
}

class X11Cursor : public X11ServerTest<320, 240> {
protected:
    void Define(xtest::XId window, const BitmapCursor& cursor) {
        client_->SetBitmapCursor(window, cursor.width, cursor.height, cursor.source, cursor.mask,
                                 cursor.xhot, cursor.yhot, cursor.foreground, cursor.background);
    }
    static void MovePointer(int x, int y) {
        ASSERT_EQ(
            server_->Run({"xdotool", "mousemove", std::to_string(x), std::to_string(y)}).exitCode,
            0);
    }
    static void ExpectImageOf(const std::optional<CursorImage>& image, const BitmapCursor& cursor) {
        ASSERT_TRUE(image.has_value()) << "no cursor image";
        EXPECT_EQ(image->width, cursor.width);
        EXPECT_EQ(image->height, cursor.height);
        EXPECT_EQ(image->xhot, cursor.xhot);
        EXPECT_EQ(image->yhot, cursor.yhot);
        EXPECT_EQ(image->argb, cursor.ExpectedArgb());
    }
};

TEST_F(X11Cursor, TheRootCursorReadsPixelForPixelWithItsHotSpot) {
    const BitmapCursor red = SquareCursor(0, 0, 3, 5, 0xFF0000, 0x0000FF);
    Define(client_->Root(), red);
    MovePointer(100, 100);
    ExpectImageOf(desktop_->GetCursorImage(), red);

    const BitmapCursor green = SquareCursor(6, 7, 15, 15, 0x00FF00, 0xFFFFFF);
    Define(client_->Root(), green);
    ExpectImageOf(desktop_->GetCursorImage(), green);
}

TEST_F(X11Cursor, TheCursorOfTheWindowUnderThePointerIsRead) {
    const BitmapCursor rootCursor = SquareCursor(0, 0, 0, 0, 0xFF0000, 0x000000);
    const BitmapCursor windowCursor = SquareCursor(4, 4, 8, 8, 0x00FFFF, 0xFF00FF);
    Define(client_->Root(), rootCursor);
    const xtest::XId window = client_->CreateWindow(xtest::PlacedRectangle(20, 20, 100, 100));
    ASSERT_NE(window, 0u);
    Define(window, windowCursor);

    MovePointer(50, 50);
    ExpectImageOf(desktop_->GetCursorImage(), windowCursor);
    MovePointer(200, 200);
    ExpectImageOf(desktop_->GetCursorImage(), rootCursor);
}

TEST_F(X11Cursor, ACursorLeftByAClientThatHasExitedNeverEndsTheProgram) {
    // The server refuses the image of a cursor whose creator is gone
    // (BadAccess) until another client takes that client's slot. Either way
    // the call returns quietly.
    ASSERT_EQ(server_->Run({"xsetroot", "-cursor_name", "crosshair"}).exitCode, 0);
    MovePointer(150, 150);
    testing::internal::CaptureStderr();
    const auto image = desktop_->GetCursorImage();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    if (image) {
        EXPECT_EQ(image->argb.size(), static_cast<std::size_t>(image->width * image->height));
        EXPECT_LT(image->xhot, image->width);
        EXPECT_LT(image->yhot, image->height);
    }
    // The connection still works.
    const BitmapCursor after = SquareCursor(0, 0, 1, 1, 0xFFFFFF, 0x000000);
    Define(client_->Root(), after);
    ExpectImageOf(desktop_->GetCursorImage(), after);
}

} // namespace
} // namespace huegrab
