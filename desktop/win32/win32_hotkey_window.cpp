// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/win32/win32_hotkey_window.h"

#include "desktop/hotkey_name.h"

#include <cstdio>
#include <string>

namespace huegrab::win32 {
namespace {

constexpr wchar_t kClassName[] = L"HuegrabHotkeyWindow";
// Set on every registration: one WM_HOTKEY per press, none for the key's
// auto-repeat while it is held.
constexpr UINT kNoRepeat = 0x4000; // MOD_NOREPEAT
constexpr unsigned kModifierBits = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;

bool RegisterWindowClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    // A second backend in the same process finds the class already there.
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

std::unique_ptr<HotkeyWindow> HotkeyWindow::Create() {
    if (!RegisterWindowClass(&HotkeyWindow::WindowProc))
        return nullptr;
    std::unique_ptr<HotkeyWindow> hotkeys(new HotkeyWindow());
    hotkeys->window_ =
        OwnedWindow(::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      ::GetModuleHandleW(nullptr), nullptr));
    if (!hotkeys->window_)
        return nullptr;
    ::SetWindowLongPtrW(hotkeys->window_.Get(), GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(hotkeys.get()));
    return hotkeys;
}

HotkeyWindow::~HotkeyWindow() {
    for (const int id : registered_)
        ::UnregisterHotKey(window_.Get(), id);
    if (window_)
        ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
}

bool HotkeyWindow::Register(int id, unsigned modifiers, int virtualKey) {
    if (registered_.contains(id))
        Unregister(id);
    if (!::RegisterHotKey(window_.Get(), id, (modifiers & kModifierBits) | kNoRepeat,
                          static_cast<UINT>(virtualKey))) {
        // The program goes on without it; a person at a terminal learns why.
        const DWORD error = ::GetLastError();
        const std::string name = HotkeyName(modifiers, virtualKey);
        if (error == ERROR_HOTKEY_ALREADY_REGISTERED) {
            std::fprintf(stderr,
                         "huegrab: %s is already registered by another program; running "
                         "without the hotkey\n",
                         name.c_str());
        } else {
            std::fprintf(stderr,
                         "huegrab: cannot register %s (system error %lu); running without the "
                         "hotkey\n",
                         name.c_str(), static_cast<unsigned long>(error));
        }
        return false;
    }
    registered_.insert(id);
    return true;
}

void HotkeyWindow::Unregister(int id) {
    if (registered_.erase(id) > 0)
        ::UnregisterHotKey(window_.Get(), id);
}

void HotkeyWindow::SetHandler(std::function<void(const HotkeyPress&)> handler) {
    handler_ = std::move(handler);
}

void HotkeyWindow::DispatchPending() {
    MSG message;
    while (::PeekMessageW(&message, window_.Get(), 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

LRESULT CALLBACK HotkeyWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY) {
        auto* self = reinterpret_cast<HotkeyWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && self->handler_) {
            // lParam holds the pressed modifiers in its low word (of which
            // only the four modifier bits travel on) and the key in its high.
            const auto word = static_cast<std::uint32_t>(lParam);
            self->handler_(HotkeyPress{static_cast<int>(wParam), word & kModifierBits,
                                       static_cast<int>(word >> 16)});
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace huegrab::win32
