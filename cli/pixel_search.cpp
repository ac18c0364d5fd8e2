// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/pixel_search.h"

#include <algorithm>
#include <cstdint>

namespace huegrab::cli {
namespace {

ScreenPoint PointAt(const PixelBlock& block, std::size_t index) {
    const auto width = static_cast<std::size_t>(block.width);
    return {block.left + static_cast<std::int32_t>(index % width),
            block.top + static_cast<std::int32_t>(index / width)};
}

} // namespace

std::optional<ScreenPoint> FindColor(const PixelBlock& block, ColorValue target, int tolerance) {
    const auto& pixels = block.pixels;
    if (block.width <= 0 || pixels.empty())
        return std::nullopt;
    if (tolerance <= 0) {
        // An unreadable pixel is -1, which no target of 0 ... 0xFFFFFF equals.
        const auto found = std::find(pixels.begin(), pixels.end(), target);
        if (found == pixels.end())
            return std::nullopt;
        return PointAt(block, static_cast<std::size_t>(found - pixels.begin()));
    }
    // Per channel: |p - t| <= tol  <=>  (p - t + tol) as unsigned <= 2 tol.
    const auto window = static_cast<unsigned>(2 * tolerance);
    const int tr = target & 0xFF;
    const int tg = (target >> 8) & 0xFF;
    const int tb = (target >> 16) & 0xFF;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const ColorValue p = pixels[i];
        if (p < 0)
            continue;
        if (static_cast<unsigned>((p & 0xFF) - tr + tolerance) <= window &&
            static_cast<unsigned>(((p >> 8) & 0xFF) - tg + tolerance) <= window &&
            static_cast<unsigned>(((p >> 16) & 0xFF) - tb + tolerance) <= window)
            return PointAt(block, i);
    }
    return std::nullopt;
}

std::optional<ScreenRect> Intersect(const ScreenRect& region, const ScreenRect& bounds) {
    // 64-bit edges: X + W may pass the 32-bit range.
    const std::int64_t left = std::max<std::int64_t>(region.x, bounds.x);
    const std::int64_t top = std::max<std::int64_t>(region.y, bounds.y);
    const std::int64_t right =
        std::min(std::int64_t{region.x} + region.width, std::int64_t{bounds.x} + bounds.width);
    const std::int64_t bottom =
        std::min(std::int64_t{region.y} + region.height, std::int64_t{bounds.y} + bounds.height);
    if (right <= left || bottom <= top)
        return std::nullopt;
    return ScreenRect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                      static_cast<std::int32_t>(right - left),
                      static_cast<std::int32_t>(bottom - top)};
}

} // namespace huegrab::cli
