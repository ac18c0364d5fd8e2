// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_model.h"
#include "desktop/screen_pixels.h"

#include <optional>

namespace huegrab::cli {

// The first pixel of the block, row by row from its top-left, whose red,
// green and blue each lie within `tolerance` of the target's. Pixels that
// could not be read (off the screen) never match.
std::optional<ScreenPoint> FindColor(const PixelBlock& block, ColorValue target, int tolerance);

// The part of `region` that lies inside `bounds`; nullopt when none does.
std::optional<ScreenRect> Intersect(const ScreenRect& region, const ScreenRect& bounds);

} // namespace huegrab::cli
