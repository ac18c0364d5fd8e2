// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_windows.h"
#include "desktop/pointer_and_keyboard.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace huegrab {

// The one rule every reader of a title or class name follows: cut at the
// first NUL, then to at most kMaxWindowTextBytes bytes without leaving half a
// UTF-8 character at the end.
std::string ApplyWindowTextRule(std::string_view text);

// Handles as every field and list shows them: signed decimal.
std::string WindowHandleText(WindowHandle window);

// The window under the pointer now, child controls and our own windows
// included; 0 when there is none. A pointer that cannot be read counts as
// standing at (0, 0).
WindowHandle WindowUnderPointer(PointerAndKeyboard& input, DesktopWindows& windows);

// What the pick page shows for one window: title and class by the rule
// above, empty for a handle that names no window.
struct WindowFacts {
    std::string handle; // signed decimal
    std::string title;
    std::string className;
    friend bool operator==(const WindowFacts&, const WindowFacts&) = default;
};
WindowFacts DescribeWindow(DesktopWindows& windows, WindowHandle window);
// The same for the window at a point, as WindowFromPoint finds it.
WindowFacts DescribeWindowAt(DesktopWindows& windows, ScreenPoint point);

} // namespace huegrab
