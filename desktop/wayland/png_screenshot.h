// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_services.h"

#include <optional>
#include <string>

namespace huegrab::wayland {

// The PNG file of a screenshot as a block of 0x00BBGGRR colours whose
// top-left pixel is the desktop's point (0, 0). nullopt, with the reason in
// `whyNot`, when the file is missing or no PNG.
std::optional<PixelBlock> ReadPngScreenshot(const std::string& path, std::string& whyNot);

// The part of `screen` at left, top of width x height; pixels the screen
// does not cover hold kInvalidColor. width and height are at least 1.
PixelBlock CutBlock(const PixelBlock& screen, std::int32_t left, std::int32_t top,
                    std::int32_t width, std::int32_t height);

} // namespace huegrab::wayland
