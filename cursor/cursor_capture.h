// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/cursor_image_source.h"
#include "desktop/pointer_and_keyboard.h"
#include "desktop/screen_pixels.h"

#include <array>
#include <cstdint>

namespace huegrab {

// The sampling surface: 16 x 16 pixels that start black, with the cursor's
// hot spot on pixel (0, 0).
inline constexpr int kCursorSurfaceSide = 16;
// The picture shown in a drawing box: 32 x 32 pixels from the same corner.
inline constexpr int kCursorPictureSide = 32;
// What a drawing box shows where nothing is drawn.
inline constexpr ColorValue kDrawingBoxBackground = 0xE1E1E1;

template <int Side> struct ColorGrid {
    std::array<ColorValue, static_cast<std::size_t>(Side) * Side> pixels{};

    // kInvalidColor for a point outside the grid, like a read off a bitmap.
    ColorValue At(int x, int y) const {
        if (x < 0 || y < 0 || x >= Side || y >= Side)
            return kInvalidColor;
        return pixels[static_cast<std::size_t>(y) * Side + static_cast<std::size_t>(x)];
    }
    // (x, y) must lie inside the grid.
    void Set(int x, int y, ColorValue value) {
        pixels[static_cast<std::size_t>(y) * Side + static_cast<std::size_t>(x)] = value;
    }
    friend bool operator==(const ColorGrid&, const ColorGrid&) = default;
};

using CursorSurface = ColorGrid<kCursorSurfaceSide>;
using CursorPicture = ColorGrid<kCursorPictureSide>;

// One capture of the cursor: the surface the code is read from and the
// picture for the drawing box. Both are fixed-size, so a capture allocates
// nothing beyond the cursor image (or screen block) the desktop hands over.
struct CursorCapture {
    CursorSurface surface;
    CursorPicture picture;
};

// One premultiplied ARGB pixel drawn over an opaque 0x00BBGGRR colour. Over
// black the premultiplied components are the result as they stand.
ColorValue CompositeOver(std::uint32_t argb, ColorValue background);

// The cursor image drawn as the desktop draws it: its hot spot on (0, 0),
// onto black for the surface and onto `background` for the picture. Image
// pixels above or left of the hot spot fall outside both.
CursorCapture CaptureCursorImage(const CursorImage& image, ColorValue background);

// Without a cursor image: the 16 x 16 screen block whose top-left pixel is
// `pointer` for the surface and the 32 x 32 block for the picture, from one
// screen read. Parts off the screen stay black, as an unread surface does.
CursorCapture CaptureScreenAt(ScreenPixels& screen, ScreenPoint pointer);

// One read of the cursor image; the screen at the pointer when there is none
// (the pointer taken as (0, 0) when it cannot be read either).
CursorCapture CaptureCursor(CursorImageSource& cursor, PointerAndKeyboard& input,
                            ScreenPixels& screen, ColorValue background);

} // namespace huegrab
