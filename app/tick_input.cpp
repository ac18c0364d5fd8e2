// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tick_input.h"

namespace huegrab {

TickInput::TickInput(PointerAndKeyboard& desktop, bool canNudge)
    : desktop_(desktop), canNudge_(canNudge) {}

std::optional<ScreenPoint> TickInput::GetCursorPos() {
    return desktop_.GetCursorPos();
}

void TickInput::SetCursorPos(std::int32_t x, std::int32_t y) {
    if (canNudge_)
        desktop_.SetCursorPos(x, y);
}

std::uint32_t TickInput::KeysPressed(std::span<const int> virtualKeys) {
    return canNudge_ ? desktop_.KeysPressed(virtualKeys) : 0;
}

PointerAndKeys TickInput::ReadPointerAndKeys(std::span<const int> virtualKeys) {
    if (canNudge_)
        return desktop_.ReadPointerAndKeys(virtualKeys); // one exchange where the backend can
    return {desktop_.GetCursorPos(), 0};
}

} // namespace huegrab
