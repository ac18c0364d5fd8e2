// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/tracking_switch.h"

namespace huegrab {

std::optional<bool> StartStopAfterHotkey(const HotkeyPress& press, TrackingState state,
                                         const HotkeyBinding& binding) {
    if (press.id != binding.id || press.virtualKey != binding.virtualKey ||
        press.modifiers != binding.modifiers)
        return std::nullopt;
    switch (state) {
    case TrackingState::Stopped:
        return true;
    case TrackingState::Running:
        return false;
    }
    return std::nullopt;
}

} // namespace huegrab
