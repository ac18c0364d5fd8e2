// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>

namespace huegrab {

// What the cursor page shows for one slot: the code text and the method.
struct CursorSlotView {
    std::string code;
    int method = 0;
    friend bool operator==(const CursorSlotView&, const CursorSlotView&) = default;
};

// The four cursor slots: which one is current (FocusedCursorSlot) and the
// code and method each of the others remembers. They live only while the
// program runs; nothing of them is stored.
class CursorSlots {
public:
    static constexpr int kCount = 4;

    int Focused() const { return focused_; }

    // Selects slot k: what the page shows is stored into the current slot,
    // k becomes current, and what k remembers comes back (an untouched slot:
    // an empty code and the first method). Selecting the current slot gives
    // back what the page shows. nullopt, with nothing changed, when k is not
    // a slot.
    std::optional<CursorSlotView> Select(int k, const CursorSlotView& shown);

private:
    int focused_ = 0;
    std::array<CursorSlotView, kCount> slots_{};
};

} // namespace huegrab
