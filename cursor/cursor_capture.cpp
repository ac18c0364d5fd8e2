// SPDX-License-Identifier: GPL-3.0-or-later
#include "cursor/cursor_capture.h"

#include <algorithm>
#include <limits>

namespace huegrab {

namespace {

// One 8-bit channel of a premultiplied pixel over an opaque channel value.
// A component larger than its alpha (a malformed image) saturates.
std::uint32_t BlendChannel(std::uint32_t premultiplied, std::uint32_t alpha,
                           std::uint32_t background) {
    return std::min<std::uint32_t>(255, premultiplied + ((255 - alpha) * background + 127) / 255);
}

} // namespace

ColorValue CompositeOver(std::uint32_t argb, ColorValue background) {
    const std::uint32_t bg = static_cast<std::uint32_t>(background < 0 ? 0 : background);
    const std::uint32_t alpha = argb >> 24;
    const std::uint32_t r = BlendChannel((argb >> 16) & 0xFF, alpha, bg & 0xFF);
    const std::uint32_t g = BlendChannel((argb >> 8) & 0xFF, alpha, (bg >> 8) & 0xFF);
    const std::uint32_t b = BlendChannel(argb & 0xFF, alpha, (bg >> 16) & 0xFF);
    return static_cast<ColorValue>(r | (g << 8) | (b << 16));
}

CursorCapture CaptureCursorImage(const CursorImage& image, ColorValue background) {
    CursorCapture capture;
    const std::int64_t width = std::max(image.width, 0);
    const std::int64_t height = std::max(image.height, 0);
    for (int y = 0; y < kCursorPictureSide; ++y) {
        for (int x = 0; x < kCursorPictureSide; ++x) {
            // Image coordinates of this pixel; 64-bit so that a wild hot spot
            // cannot wrap back into the image.
            const std::int64_t ix = std::int64_t{image.xhot} + x;
            const std::int64_t iy = std::int64_t{image.yhot} + y;
            const std::size_t index = static_cast<std::size_t>(iy * width + ix);
            const bool inside =
                ix >= 0 && iy >= 0 && ix < width && iy < height && index < image.argb.size();
            // Transparent where the cursor does not reach.
            const std::uint32_t argb = inside ? image.argb[index] : 0;
            capture.picture.Set(x, y, CompositeOver(argb, background));
            if (x < kCursorSurfaceSide && y < kCursorSurfaceSide)
                capture.surface.Set(x, y, CompositeOver(argb, 0));
        }
    }
    return capture;
}

CursorCapture CaptureScreenAt(ScreenPixels& screen, ScreenPoint pointer) {
    CursorCapture capture;
    const PixelBlock block =
        screen.ReadBlock(pointer.x, pointer.y, kCursorPictureSide, kCursorPictureSide);
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    for (int y = 0; y < kCursorPictureSide; ++y) {
        for (int x = 0; x < kCursorPictureSide; ++x) {
            const std::int64_t sx = std::int64_t{pointer.x} + x;
            const std::int64_t sy = std::int64_t{pointer.y} + y;
            const ColorValue read =
                sx > kMax || sy > kMax
                    ? kInvalidColor
                    : block.At(static_cast<std::int32_t>(sx), static_cast<std::int32_t>(sy));
            const ColorValue value = read < 0 ? 0 : read;
            capture.picture.Set(x, y, value);
            if (x < kCursorSurfaceSide && y < kCursorSurfaceSide)
                capture.surface.Set(x, y, value);
        }
    }
    return capture;
}

CursorCapture CaptureCursor(CursorImageSource& cursor, PointerAndKeyboard& input,
                            ScreenPixels& screen, ColorValue background) {
    if (const std::optional<CursorImage> image = cursor.GetCursorImage())
        return CaptureCursorImage(*image, background);
    return CaptureScreenAt(screen, input.GetCursorPos().value_or(ScreenPoint{}));
}

} // namespace huegrab
