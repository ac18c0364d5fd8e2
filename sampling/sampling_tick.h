// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_texts.h"
#include "desktop/pointer_and_keyboard.h"
#include "desktop/screen_pixels.h"

#include <array>
#include <cstdint>
#include <string>

namespace huegrab {

inline constexpr int kMagnifierSide = 11;
inline constexpr int kMagnifierCells = kMagnifierSide * kMagnifierSide;
inline constexpr int kMagnifierCentre = kMagnifierCells / 2; // cell 60

// What the tick reads from the window besides the desktop.
struct TickInputs {
    std::int16_t pickOffset = 0;   // added to both axes of the pointer
    bool relativeToOrigin = false; // "定位起点" is checked
    std::string originX;           // text of 起x
    std::string originY;           // text of 起y
};

// Everything one tick writes into the window.
struct TickResult {
    ScreenPoint pointer;     // as read at the start of the tick
    bool nudged = false;     // an arrow key moved the pointer after that read
    std::string rawPosition; // "x:100  y:200"
    std::string pickedX;
    std::string pickedY;
    ColorValue sampled = kInvalidColor; // the sample point, -1 when unreadable
    ColorValue swatch = 0;              // what the swatch and the focused slot show
    ColorTexts color;
    std::array<ColorValue, kMagnifierCells> magnifier{}; // cell colours, black off screen
};

// One tick: read the pointer, let a held arrow key nudge it by one pixel,
// then sample the point (pointer + offset on both axes) and the 11 x 11
// block around it with a single screen read.
TickResult RunSamplingTick(PointerAndKeyboard& input, ScreenPixels& screen,
                           const TickInputs& inputs);

} // namespace huegrab
