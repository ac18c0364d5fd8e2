// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/win32/win32_cursor.h"

#include "desktop/win32/win32_handles.h"

#include <algorithm>

namespace huegrab::win32 {
namespace {

struct CursorShape {
    int width = 0;
    int height = 0;
    int xhot = 0;
    int yhot = 0;
};

// Size and hot spot from the cursor's bitmaps, which are deleted here. A
// cursor without a colour bitmap stacks its AND and XOR masks in one bitmap
// of twice the height.
std::optional<CursorShape> ShapeOf(HCURSOR cursor) {
    ICONINFO info{};
    if (!::GetIconInfo(cursor, &info))
        return std::nullopt;
    const Bitmap mask(info.hbmMask);
    const Bitmap color(info.hbmColor);
    BITMAP bitmap{};
    CursorShape shape;
    if (color && ::GetObjectW(color.Get(), sizeof(bitmap), &bitmap)) {
        shape.width = bitmap.bmWidth;
        shape.height = bitmap.bmHeight;
    } else if (mask && ::GetObjectW(mask.Get(), sizeof(bitmap), &bitmap)) {
        shape.width = bitmap.bmWidth;
        shape.height = bitmap.bmHeight / 2;
    } else {
        return std::nullopt;
    }
    shape.xhot = static_cast<int>(info.xHotspot);
    shape.yhot = static_cast<int>(info.yHotspot);
    return shape;
}

CursorImage Transparent(int width, int height) {
    CursorImage image;
    image.width = std::max(width, 1);
    image.height = std::max(height, 1);
    image.argb.assign(static_cast<std::size_t>(image.width) * image.height, 0);
    return image;
}

} // namespace

std::uint32_t PremultipliedFromDrawings(std::uint32_t overBlack, std::uint32_t overWhite) {
    std::uint32_t coverage = 0; // the largest channel's share of the cursor
    std::uint32_t brightest = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t black = (overBlack >> shift) & 0xFF;
        const std::uint32_t white = (overWhite >> shift) & 0xFF;
        // white - black is the background still showing: 255 - alpha. An
        // inverted pixel is darker over white; it counts as opaque.
        const std::uint32_t showing = white > black ? white - black : 0;
        coverage = std::max(coverage, 255 - showing);
        brightest = std::max(brightest, black);
    }
    // Premultiplied components never exceed alpha.
    const std::uint32_t alpha = std::max(coverage, brightest);
    return (alpha << 24) | (overBlack & 0xFFFFFF);
}

std::optional<CursorImage> ReadCursorImage(HCURSOR cursor) {
    const int systemWidth = ::GetSystemMetrics(SM_CXCURSOR);
    const int systemHeight = ::GetSystemMetrics(SM_CYCURSOR);
    if (!cursor)
        return Transparent(systemWidth, systemHeight);
    const std::optional<CursorShape> shape = ShapeOf(cursor);
    if (!shape || shape->width <= 0 || shape->height <= 0)
        return Transparent(systemWidth, systemHeight);

    const ScreenDc screen = OpenScreenDc();
    if (!screen)
        return std::nullopt;
    DibSurface overBlack(screen.Get(), shape->width, shape->height);
    DibSurface overWhite(screen.Get(), shape->width, shape->height);
    if (!overBlack || !overWhite)
        return std::nullopt;
    overBlack.Fill(0x000000);
    overWhite.Fill(0xFFFFFF);
    for (const DibSurface* surface : {&overBlack, &overWhite}) {
        if (!::DrawIconEx(surface->Dc(), 0, 0, cursor, shape->width, shape->height, 0, nullptr,
                          DI_NORMAL))
            return std::nullopt;
    }
    ::GdiFlush();

    CursorImage image;
    image.width = shape->width;
    image.height = shape->height;
    image.xhot = shape->xhot;
    image.yhot = shape->yhot;
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    image.argb.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        image.argb[i] = PremultipliedFromDrawings(overBlack.Pixels()[i] & 0xFFFFFF,
                                                  overWhite.Pixels()[i] & 0xFFFFFF);
    }
    return image;
}

} // namespace huegrab::win32
