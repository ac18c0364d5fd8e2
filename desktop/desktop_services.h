// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/cursor_image_source.h"
#include "desktop/desktop_events.h"
#include "desktop/desktop_windows.h"
#include "desktop/global_hotkeys.h"
#include "desktop/pointer_and_keyboard.h"
#include "desktop/screen_pixels.h"

namespace huegrab {

// Everything the program asks of the live desktop, as OpenDesktop() hands
// it out: each backend plays every role. Code that uses the desktop takes
// only the roles it needs.
class DesktopServices : public ScreenPixels,
                        public PointerAndKeyboard,
                        public DesktopWindows,
                        public GlobalHotkeys,
                        public DesktopEvents,
                        public CursorImageSource {};

} // namespace huegrab
