#pragma once

#include "desktop/desktop_services.h"

namespace huegrab {

// True while the key is down anywhere on the desktop, whichever window has
// the focus.
bool IsKeyDown(DesktopServices& desktop, int virtualKey);

// The screen pixel at (x, y) as 0x00BBGGRR, or -1 when it cannot be read.
ColorValue ReadScreenPixel(DesktopServices& desktop, std::int32_t x, std::int32_t y);

} // namespace huegrab
