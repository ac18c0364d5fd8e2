#pragma once

#include "desktop/desktop_services.h"

#include <optional>
#include <span>

namespace huegrab {

// True while the key is down anywhere on the desktop, whichever window has
// the focus.
bool IsKeyDown(DesktopServices& desktop, int virtualKey);

// The index of the first of the keys that is down, from one read of the
// keyboard; nullopt when none is.
std::optional<std::size_t> FirstKeyDown(DesktopServices& desktop, std::span<const int> keys);

// The screen pixel at (x, y) as 0x00BBGGRR, or -1 when it cannot be read.
ColorValue ReadScreenPixel(DesktopServices& desktop, std::int32_t x, std::int32_t y);

} // namespace huegrab
