// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/device_pixels.h"

namespace huegrab::platform {

void UseDevicePixels() {} // X11 scales nothing

} // namespace huegrab::platform
