// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

struct _XDisplay;

namespace huegrab::bench {

// What the root window shows while a benchmark moves the pointer over it.
enum class RootPattern {
    Solid,        // one colour: nothing under the pointer changes
    TwoColors,    // a one-pixel checkerboard of two colours
    RandomColors, // every pixel a random colour (fixed seed)
};

// The name used in benchmark labels: "still", "two colours", "random colours".
std::string PatternName(RootPattern pattern);

// Paints the whole root of the display's default screen with the pattern and
// keeps it there after the connection closes; false when the server refuses.
bool PaintRoot(_XDisplay* display, RootPattern pattern);

// Moves the pointer to root coordinates and sends the request at once.
void WarpPointer(_XDisplay* display, int x, int y);

} // namespace huegrab::bench
