// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace huegrab::wayland {

// Whether the compositor of this session (WAYLAND_DISPLAY, else wayland-0)
// announces the global `interface` ("zwlr_layer_shell_v1") to its clients:
// one connection and one round trip. False when none can be reached.
bool CompositorOffers(std::string_view interface);

} // namespace huegrab::wayland
