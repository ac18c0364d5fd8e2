// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sampling/offset_picking.h"
#include "sampling/tracking_switch.h"

#include <cstdint>
#include <string>

namespace huegrab {

// The main window's own values beside its controls. Every handler runs on
// the UI thread, one at a time, so they share this without locks.
struct WindowState {
    TrackingState trackingState = TrackingState::Stopped;
    HotkeyBinding hotkey;
    bool hotkeyRegistered = false;
    OffsetPicking offset;
    std::int16_t focusedColorSlot = 0;
    std::string settingsPath;
    // config.ini beside the program when settingsPath lies elsewhere: the
    // slots kept there carry over into the new file.
    std::string earlierSettingsPath;
};

} // namespace huegrab
