// SPDX-License-Identifier: GPL-3.0-or-later
#include "cursor/cursor_feature_code.h"
#include "desktop/win32/win32_cursor.h"
#include "desktop/win32/win32_desktop.h"
#include "tests/win32/support/test_windows.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>

namespace huegrab {
namespace {

HCURSOR Standard(LPCWSTR name) {
    return ::LoadCursorW(nullptr, name);
}

// The pixels a cursor leaves on a black surface with its hot spot on (0, 0):
// what the cursor feature code is read from.
std::vector<std::uint32_t> OverBlack(const CursorImage& image) {
    std::vector<std::uint32_t> surface(16 * 16, 0);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int ix = image.xhot + x;
            const int iy = image.yhot + y;
            if (ix < image.width && iy < image.height)
                surface[static_cast<std::size_t>(y * 16 + x)] =
                    image.argb[static_cast<std::size_t>(iy * image.width + ix)] & 0xFFFFFF;
        }
    }
    return surface;
}

TEST(Win32Cursor, StandardCursorsGiveStableAndDistinctImages) {
    const struct {
        const char* name;
        LPCWSTR id;
    } cursors[] = {{"arrow", IDC_ARROW}, {"hand", IDC_HAND}, {"I-beam", IDC_IBEAM}};
    std::vector<std::vector<std::uint32_t>> surfaces;
    for (const auto& cursor : cursors) {
        SCOPED_TRACE(cursor.name);
        const HCURSOR handle = Standard(cursor.id);
        ASSERT_NE(handle, nullptr);
        const std::optional<CursorImage> first = win32::ReadCursorImage(handle);
        const std::optional<CursorImage> second = win32::ReadCursorImage(handle);
        ASSERT_TRUE(first && second);
        ASSERT_EQ(first->argb.size(), static_cast<std::size_t>(first->width * first->height));
        EXPECT_EQ(first->argb, second->argb);
        EXPECT_EQ(first->xhot, second->xhot);
        EXPECT_EQ(first->yhot, second->yhot);
        EXPECT_TRUE(first->xhot >= 0 && first->xhot < first->width);
        EXPECT_TRUE(first->yhot >= 0 && first->yhot < first->height);
        // Premultiplied: no component above its alpha; and something drawn.
        std::size_t opaque = 0;
        for (const std::uint32_t pixel : first->argb) {
            const std::uint32_t alpha = pixel >> 24;
            ASSERT_LE((pixel >> 16) & 0xFF, alpha);
            ASSERT_LE((pixel >> 8) & 0xFF, alpha);
            ASSERT_LE(pixel & 0xFF, alpha);
            opaque += alpha == 255;
        }
        EXPECT_GT(opaque, 10u);
        surfaces.push_back(OverBlack(*first));
    }
    for (std::size_t i = 0; i < surfaces.size(); ++i) {
        for (std::size_t j = i + 1; j < surfaces.size(); ++j)
            EXPECT_NE(surfaces[i], surfaces[j]) << cursors[i].name << " vs " << cursors[j].name;
    }
}

TEST(Win32Cursor, AHandleWithoutAnImageDrawsNothing) {
    for (const HCURSOR cursor : {HCURSOR{}, reinterpret_cast<HCURSOR>(std::intptr_t{0x1234})}) {
        const std::optional<CursorImage> image = win32::ReadCursorImage(cursor);
        ASSERT_TRUE(image.has_value());
        EXPECT_GT(image->width, 0);
        EXPECT_EQ(std::count(image->argb.begin(), image->argb.end(), 0u),
                  static_cast<std::ptrdiff_t>(image->argb.size()));
    }
}

// The desktop shows the cursor of the thread in front: this one, once its
// window is.
TEST(Win32Cursor, TheCurrentCursorIsTheOneSetInFront) {
    const auto desktop = Win32Desktop::Open();
    ASSERT_NE(desktop, nullptr);
    win32test::TestWindowOptions options;
    options.title = L"front";
    options.width = 200;
    options.height = 200;
    const auto window = win32test::TestWindow::Create(options);
    ASSERT_NE(window, nullptr);
    ::SetForegroundWindow(window->Handle());
    ASSERT_TRUE(win32test::PumpUntil([&] { return ::GetForegroundWindow() == window->Handle(); }));
    std::array<std::int32_t, 2> codes{};
    for (const int round : {0, 1}) {
        int i = 0;
        for (const LPCWSTR id : {IDC_HAND, IDC_ARROW}) {
            ::SetCursor(Standard(id));
            const std::optional<CursorImage> current = desktop->GetCursorImage();
            const std::optional<CursorImage> expected = win32::ReadCursorImage(Standard(id));
            ASSERT_TRUE(current && expected);
            EXPECT_EQ(current->argb, expected->argb);
            EXPECT_EQ(current->xhot, expected->xhot);
            // The feature code of the cursor in front: stable from one
            // reading to the next, and not the 0 of a blank capture.
            const std::int32_t code = GetCursorFeatureCode(*desktop, *desktop, *desktop, 0).code;
            if (round == 1) {
                EXPECT_EQ(code, codes[static_cast<std::size_t>(i)]);
            }
            codes[static_cast<std::size_t>(i++)] = code;
            EXPECT_NE(code, 0);
        }
    }
    EXPECT_NE(codes[0], codes[1]); // a hand and an arrow differ along the edge read
}

} // namespace
} // namespace huegrab
