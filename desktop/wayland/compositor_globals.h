// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/screen_geometry.h"

#include <optional>
#include <set>
#include <string>

namespace huegrab::wayland {

// What the compositor of this session (WAYLAND_DISPLAY, else wayland-0)
// announces to its clients, as far as the click picker asks.
struct CompositorGlobals {
    std::set<std::string, std::less<>> interfaces; // "zwlr_layer_shell_v1", …
    bool scaledOutput = false;                     // an output drawn at a scale other than 1
    // The top left corner of the outputs' layout, where a screenshot of the
    // whole desktop starts: (0, 0) unless an output lies left of or above
    // the origin, or none touches it.
    ScreenPoint layoutOrigin;
};

// One connection and two round trips; nullopt when no compositor can be
// reached.
std::optional<CompositorGlobals> ReadCompositorGlobals();

} // namespace huegrab::wayland
