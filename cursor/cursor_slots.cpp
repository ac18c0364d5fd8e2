// SPDX-License-Identifier: GPL-3.0-or-later
#include "cursor/cursor_slots.h"

namespace huegrab {

std::optional<CursorSlotView> CursorSlots::Select(int k, const CursorSlotView& shown) {
    if (k < 0 || k >= kCount)
        return std::nullopt;
    slots_[static_cast<std::size_t>(focused_)] = shown;
    focused_ = k;
    return slots_[static_cast<std::size_t>(k)];
}

} // namespace huegrab
