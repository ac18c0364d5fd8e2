#pragma once

#include "desktop/desktop_services.h"

#include <optional>
#include <span>

namespace huegrab {

// The index of the first of the keys that is down, from one read of the
// keyboard; nullopt when none is.
std::optional<std::size_t> FirstKeyDown(DesktopServices& desktop, std::span<const int> keys);

} // namespace huegrab
