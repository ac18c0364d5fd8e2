// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_model.h"
#include "desktop/screen_geometry.h"
#include "desktop/screen_watch.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace huegrab {

// A rectangle of screen pixels read in one go. Pixels outside the screen
// hold kInvalidColor.
struct PixelBlock {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<ColorValue> pixels; // row-major, width * height

    // A block at left, top whose every pixel is off the screen, for a
    // reader to fill in what it can; a negative size counts as 0.
    static PixelBlock OffScreen(std::int32_t left, std::int32_t top, std::int32_t width,
                                std::int32_t height) {
        const std::int32_t w = std::max(width, 0);
        const std::int32_t h = std::max(height, 0);
        return {left, top, w, h,
                std::vector<ColorValue>(static_cast<std::size_t>(w) * static_cast<std::size_t>(h),
                                        kInvalidColor)};
    }

    // The pixel at screen point (x, y); kInvalidColor outside the block.
    ColorValue At(std::int32_t x, std::int32_t y) const {
        // 64-bit differences: a block near the coordinate limits must not wrap.
        if (x < left || y < top || std::int64_t{x} - left >= width ||
            std::int64_t{y} - top >= height)
            return kInvalidColor;
        return pixels[static_cast<std::size_t>(y - top) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x - left)];
    }
};

// The desktop's role of the screen's pixels. Calls run on the UI thread,
// never throw, and report failure through their result.
class ScreenPixels {
public:
    virtual ~ScreenPixels() = default;

    // One screen pixel, 0x00BBGGRR, or kInvalidColor off the screen.
    virtual ColorValue GetPixel(std::int32_t x, std::int32_t y) = 0;
    // A block of screen pixels in one read; the parts off the screen are
    // kInvalidColor. width and height are at least 1.
    virtual PixelBlock ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                                 std::int32_t height) = 0;

    // Reads the area as strips of whole rows, top to bottom, handing each to
    // `take`, which returns false to stop. A whole screen then needs one
    // strip's memory instead of the whole screen's, and a search can stop
    // at its first match. Backends with a faster way override it.
    virtual void ReadBlockInStrips(const ScreenRect& area,
                                   const std::function<bool(const PixelBlock& strip)>& take) {
        constexpr std::int64_t kStripPixels = 1 << 18;
        constexpr std::int64_t kPastLastCoordinate = std::int64_t{INT32_MAX} + 1;
        if (area.width <= 0 || area.height <= 0)
            return;
        // A row wider than a strip (an area asked of a desktop that cannot
        // tell its size) is read in pieces, one row at a time, so that the
        // pieces still come in reading order.
        const std::int64_t pieceWidth = std::min<std::int64_t>(area.width, kStripPixels);
        const std::int64_t rowsPerStrip = kStripPixels / pieceWidth;
        // 64-bit: for an area nearly as tall or wide as the coordinates
        // allow, its far edge passes the 32-bit range. Pixels past it are
        // not on any screen.
        const std::int64_t right = std::min(std::int64_t{area.x} + area.width, kPastLastCoordinate);
        const std::int64_t bottom =
            std::min(std::int64_t{area.y} + area.height, kPastLastCoordinate);
        for (std::int64_t top = area.y; top < bottom; top += rowsPerStrip) {
            const auto rows = static_cast<std::int32_t>(std::min(rowsPerStrip, bottom - top));
            for (std::int64_t left = area.x; left < right; left += pieceWidth) {
                const auto width = static_cast<std::int32_t>(std::min(pieceWidth, right - left));
                if (!take(ReadBlock(static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                                    width, rows)))
                    return;
            }
        }
    }

    // Optional abilities: a backend without them keeps these answers.
    // The screen's rectangle; nullopt when the backend cannot tell.
    virtual std::optional<ScreenRect> ScreenBounds() { return std::nullopt; }
    // Change notification for a region; nullptr when the desktop offers
    // none, and callers then poll.
    virtual std::unique_ptr<ScreenChangeWatch> WatchScreenChanges(const ScreenRect& /*region*/) {
        return nullptr;
    }
};

// The screen pixel at (x, y) as 0x00BBGGRR, or kInvalidColor when it cannot
// be read: every reader of single points goes through here.
inline ColorValue ReadScreenPixel(ScreenPixels& screen, std::int32_t x, std::int32_t y) {
    const ColorValue value = screen.GetPixel(x, y);
    return value < 0 ? kInvalidColor : value;
}

} // namespace huegrab
