#include "sampling/tracking_switch.h"

namespace huegrab {

std::optional<bool> HotkeyWindowProc(const HotkeyMessage& message, TrackingState state,
                                     const HotkeyBinding& binding) {
    if (message.id != binding.id)
        return std::nullopt;
    const auto pressedModifiers = static_cast<std::int16_t>(message.lParam & 0xFFFF);
    const auto pressedKey = static_cast<std::int16_t>((message.lParam >> 16) & 0xFFFF);
    if (pressedKey != binding.virtualKey || pressedModifiers != static_cast<int>(binding.modifiers))
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
