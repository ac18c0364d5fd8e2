// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/cursor_image_source.h"
#include "desktop/desktop_ability.h"
#include "desktop/desktop_events.h"
#include "desktop/desktop_windows.h"
#include "desktop/global_hotkeys.h"
#include "desktop/point_picking.h"
#include "desktop/pointer_and_keyboard.h"
#include "desktop/screen_pixels.h"

#include <optional>
#include <string>

namespace huegrab {

// Everything the program asks of the live desktop, as OpenDesktop() hands
// it out: each backend plays every role. Code that uses the desktop takes
// only the roles it needs.
class DesktopServices : public ScreenPixels,
                        public PointerAndKeyboard,
                        public DesktopWindows,
                        public GlobalHotkeys,
                        public DesktopEvents,
                        public CursorImageSource,
                        public PointPicking {
public:
    // Whether the desktop can do `ability` at all: nullopt when it can,
    // otherwise one line for a person saying why not. The calls of an
    // ability it lacks still answer (no position, no window), so a caller
    // that must not pass such an answer off as a reading asks here first.
    virtual std::optional<std::string> WhyNotOffered(DesktopAbility /*ability*/) {
        return std::nullopt;
    }
};

} // namespace huegrab
