// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/pointer_and_keyboard.h"

namespace huegrab {

// The pointer and keys as the tick uses them. The tick reads the arrow keys
// only to nudge the pointer with them: on a desktop that cannot move the
// pointer no key is read and no move asked for, so the tick never reports
// a nudge that did not happen.
class TickInput final : public PointerAndKeyboard {
public:
    TickInput(PointerAndKeyboard& desktop, bool canNudge);

    std::optional<ScreenPoint> GetCursorPos() override;
    void SetCursorPos(std::int32_t x, std::int32_t y) override;
    std::uint32_t KeysPressed(std::span<const int> virtualKeys) override;
    PointerAndKeys ReadPointerAndKeys(std::span<const int> virtualKeys) override;

private:
    PointerAndKeyboard& desktop_;
    bool canNudge_;
};

// The pointer as a tick at a point the user clicked sees it: at that point,
// with no key down, and not to be moved.
class PickedPointInput final : public PointerAndKeyboard {
public:
    explicit PickedPointInput(ScreenPoint point) : point_(point) {}

    std::optional<ScreenPoint> GetCursorPos() override { return point_; }
    void SetCursorPos(std::int32_t, std::int32_t) override {}
    std::uint32_t KeysPressed(std::span<const int>) override { return 0; }
    PointerAndKeys ReadPointerAndKeys(std::span<const int>) override { return {point_, 0}; }

private:
    ScreenPoint point_;
};

} // namespace huegrab
