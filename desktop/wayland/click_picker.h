// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/screen_geometry.h"
#include "platform/child_process.h"

#include <optional>
#include <string>
#include <string_view>

namespace huegrab::wayland {

// The point slurp prints with the format "%x %y": two decimal integers with
// one space between, an optional line end, nothing else.
std::optional<ScreenPoint> ReadPickedPoint(std::string_view text);

// Click-to-pick on compositors that tell no program where the pointer is
// but let one draw over every window (wlroots ones: sway, …): slurp shows
// a crosshair over the screen and prints the point the user clicks, in
// layout coordinates; on an unscaled desktop those are the screenshot's
// once moved by the layout's top left corner.
class ClickPicker {
public:
    // Whether picking works here: slurp is installed, the compositor offers
    // wlr-layer-shell, the protocol its overlay needs, and draws no output
    // scaled. Asked once.
    bool Offered();

    // Runs slurp and waits for the click; the point in the screenshot's
    // coordinates, or nullopt with the reason when no point was picked
    // (Esc, or slurp could not run).
    std::optional<ScreenPoint> Pick(std::string& whyNot);
    // Ends slurp if it runs, and any started later, from any thread.
    void End() { stop_.Stop(); }

private:
    platform::ChildStop stop_;
    std::optional<bool> offered_;
    ScreenPoint layoutOrigin_; // as Offered found it
};

} // namespace huegrab::wayland
