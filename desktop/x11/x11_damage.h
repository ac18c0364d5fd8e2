// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/screen_watch.h"

#include <memory>

namespace huegrab::x11 {

// A watch on a region of the root through the DAMAGE extension, on an X
// connection of its own, so that its events never mix with the hotkey
// events of the desktop's connection. nullptr when the display cannot be
// opened or lacks DAMAGE or XFixes.
std::unique_ptr<ScreenChangeWatch> OpenDamageWatch(const char* displayName,
                                                   const ScreenRect& region);

} // namespace huegrab::x11
