// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_texts.h"
#include "desktop/screen_pixels.h"

#include <optional>
#include <string>

namespace huegrab {

struct CustomPointColor {
    ColorValue value = 0;
    ColorTexts texts;
};

// Reads the typed screen point once. nullopt (and nothing changes) when a
// coordinate is empty or not a number, or the point is off the screen.
std::optional<CustomPointColor> ReadCustomPoint(ScreenPixels& screen, const std::string& xText,
                                                const std::string& yText);

} // namespace huegrab
