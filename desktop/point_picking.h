// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/screen_geometry.h"

#include <optional>
#include <string>

namespace huegrab {

// The desktop's role of letting the user click one point, where it cannot
// tell where the pointer is (a wlroots compositor): a point the user chose
// instead of a position read behind their back. Desktops that read the
// pointer pick nothing.
class PointPicking {
public:
    virtual ~PointPicking() = default;

    // Whether PickPointByClick can ask the user for a point here.
    virtual bool PicksPointsByClick() { return false; }

    // Lets the user click one point of the screen and waits, as long as it
    // takes, until they have (or cancelled). nullopt with one line for a
    // person in `whyNot` when no point was picked. The pointer is at the
    // point then, and a compositor that draws it into its screen pictures
    // shows it there: the colour of the point is read before the pick.
    virtual std::optional<ScreenPoint> PickPointByClick(std::string& whyNot) {
        whyNot = "this desktop picks no point by click";
        return std::nullopt;
    }

    // Ends a pick under way on another thread, as a cancel would, and any
    // later one at once: for a program that is closing. Safe from any thread.
    virtual void EndPicking() {}
};

} // namespace huegrab
