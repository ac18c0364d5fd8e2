// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/global_hotkeys.h"
#include "desktop/win32/win32_handles.h"

#include <functional>
#include <memory>
#include <set>

namespace huegrab::win32 {

// A hidden message-only window that owns the registered hotkeys. WM_HOTKEY
// is posted to the thread that made it, so the thread's message loop (Qt's
// in the program) delivers presses to the handler without any hook.
class HotkeyWindow {
public:
    // nullptr when the window cannot be made.
    static std::unique_ptr<HotkeyWindow> Create();
    ~HotkeyWindow();
    HotkeyWindow(const HotkeyWindow&) = delete;
    HotkeyWindow& operator=(const HotkeyWindow&) = delete;

    // False when another window (of any program) holds the combination.
    bool Register(int id, unsigned modifiers, int virtualKey);
    void Unregister(int id);
    void SetHandler(std::function<void(const HotkeyPress&)> handler);
    // Dispatches this window's pending messages without waiting.
    void DispatchPending();

private:
    HotkeyWindow() = default;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    OwnedWindow window_;
    std::set<int> registered_;
    std::function<void(const HotkeyPress&)> handler_;
};

} // namespace huegrab::win32
