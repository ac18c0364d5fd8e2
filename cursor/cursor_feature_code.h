// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cursor/cursor_capture.h"

#include <cstdint>
#include <span>

namespace huegrab {

// The red that marks each point read on a drawing box.
inline constexpr ColorValue kCursorMarkColor = 0x0000FF;
// The largest code: the top bit of the 32-bit fold is always cleared.
inline constexpr std::int32_t kMaxCursorFeatureCode = 0x7FFFFFFF;

struct CursorPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const CursorPoint&, const CursorPoint&) = default;
};

// The surface points a method reads, in reading order. Method 1 reads the
// diagonal (1,1) ... (16,16), method 2 (9,9) ... (16,16); every other number
// (no selection included) reads the ten points of method 0. The last point
// of methods 1 and 2 lies just outside the surface on purpose.
std::span<const CursorPoint> CursorSamplePoints(int method);

// Folds the method's points of a surface into a code 0 ... 2^31 - 1: each
// step adds the pixel's colour (a point outside the surface counts as
// 4294967295) to a 32-bit accumulator, drops the carry and rotates right by
// the step number (1, 2, ...); the top bit is cleared at the end.
std::int32_t FoldCursorSurface(const CursorSurface& surface, int method);

// A code with the picture and marks its drawing box shows: `picture` on the
// box's background, then kCursorMarkColor on each of `marks` (all inside the
// picture). The marks are never part of what the code is read from.
struct CursorFeatureCode {
    std::int32_t code = 0;
    CursorPicture picture;
    std::span<const CursorPoint> marks;
};

// The code of the current cursor by the given method, from one capture
// (CaptureCursor), with the picture drawn over `background`.
CursorFeatureCode GetCursorFeatureCode(CursorImageSource& cursor, PointerAndKeyboard& input,
                                       ScreenPixels& screen, int method,
                                       ColorValue background = kDrawingBoxBackground);

} // namespace huegrab
