// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowtools/window_probe.h"

#include "text/unicode.h"

namespace huegrab {

std::string ApplyWindowTextRule(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    text = text.substr(0, kMaxWindowTextBytes);
    // A last character that the cut (ours or a backend's) left
    // incomplete goes.
    text = text.substr(0, LengthWithoutSplitUtf8Tail(text));
    return std::string(text);
}

std::string WindowHandleText(WindowHandle window) {
    return std::to_string(window);
}

WindowHandle WindowUnderPointer(PointerAndKeyboard& input, DesktopWindows& windows) {
    const ScreenPoint point = input.GetCursorPos().value_or(ScreenPoint{});
    return windows.WindowFromPoint(point);
}

namespace {

WindowFacts Facts(WindowHandle window, const WindowNames& names) {
    return {WindowHandleText(window), ApplyWindowTextRule(names.title),
            ApplyWindowTextRule(names.className)};
}

} // namespace

WindowFacts DescribeWindow(DesktopWindows& windows, WindowHandle window) {
    // Title and class come in one go.
    return Facts(window, windows.WindowTextAndClass(window));
}

WindowFacts DescribeWindowAt(DesktopWindows& windows, ScreenPoint point) {
    // This runs on every tick: the backend reads window and names together.
    const WindowAtPoint found = windows.WindowAndNamesAt(point);
    return Facts(found.window, found.names);
}

} // namespace huegrab
