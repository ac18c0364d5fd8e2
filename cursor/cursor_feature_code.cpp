// SPDX-License-Identifier: GPL-3.0-or-later
#include "cursor/cursor_feature_code.h"

#include <bit>

namespace huegrab {

namespace {

// Method 0: step i reads (i div 2 + 1, i).
constexpr CursorPoint kDefaultPoints[] = {{1, 1}, {2, 2}, {2, 3}, {3, 4}, {3, 5},
                                          {4, 6}, {4, 7}, {5, 8}, {5, 9}, {6, 10}};
// Method 1: step i reads (i, i), i = 1 ... 16.
constexpr CursorPoint kDiagonalPoints[] = {
    {1, 1}, {2, 2},   {3, 3},   {4, 4},   {5, 5},   {6, 6},   {7, 7},   {8, 8},
    {9, 9}, {10, 10}, {11, 11}, {12, 12}, {13, 13}, {14, 14}, {15, 15}, {16, 16}};

} // namespace

std::span<const CursorPoint> CursorSamplePoints(int method) {
    switch (method) {
    case 1:
        return kDiagonalPoints;
    case 2: // step i reads (i + 8, i + 8), i = 1 ... 8: the diagonal's lower half
        return std::span<const CursorPoint>(kDiagonalPoints).subspan(8);
    default:
        return kDefaultPoints;
    }
}

std::int32_t FoldCursorSurface(const CursorSurface& surface, int method) {
    std::uint32_t accumulator = 0;
    int step = 0;
    for (const CursorPoint point : CursorSamplePoints(method)) {
        ++step;
        // An outside point reads as the invalid colour, all 32 bits set.
        const ColorValue value = surface.At(point.x, point.y);
        const std::uint32_t v = value < 0 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
        accumulator = std::rotr(accumulator + v, step); // the carry beyond 32 bits is dropped
    }
    return static_cast<std::int32_t>(accumulator & 0x7FFFFFFFu);
}

CursorFeatureCode GetCursorFeatureCode(CursorImageSource& cursor, PointerAndKeyboard& input,
                                       ScreenPixels& screen, int method, ColorValue background) {
    const CursorCapture capture = CaptureCursor(cursor, input, screen, background);
    return {FoldCursorSurface(capture.surface, method), capture.picture,
            CursorSamplePoints(method)};
}

} // namespace huegrab
