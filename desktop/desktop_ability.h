// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace huegrab {

// What a desktop may be unable to do at all, whatever is asked of it: a
// Wayland compositor tells other programs neither where the pointer is nor
// which windows it shows.
enum class DesktopAbility {
    ReadPointer, // GetCursorPos and the key state of the tick
    MovePointer, // SetCursorPos (the arrow-key nudge)
    Hotkeys,     // RegisterHotKey
    Windows,     // WindowFromPoint, TopLevelWindows, titles and classes
    CursorImage, // GetCursorImage
};

} // namespace huegrab
