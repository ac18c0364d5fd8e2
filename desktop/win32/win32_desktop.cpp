// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/win32/win32_desktop.h"

#include "desktop/win32/win32_cursor.h"
#include "desktop/win32/win32_hotkey_window.h"
#include "desktop/win32/win32_screen.h"
#include "desktop/win32/win32_text.h"
#include "desktop/win32/win32_window_handle.h"

#include <algorithm>
#include <string>

namespace huegrab {

using namespace win32;

struct Win32Desktop::State {
    std::unique_ptr<HotkeyWindow> hotkeys;
};

Win32Desktop::Win32Desktop(std::unique_ptr<State> state) : state_(std::move(state)) {}

Win32Desktop::~Win32Desktop() = default;

std::unique_ptr<Win32Desktop> Win32Desktop::Open() {
    auto state = std::make_unique<State>();
    state->hotkeys = HotkeyWindow::Create();
    if (!state->hotkeys)
        return nullptr;
    return std::unique_ptr<Win32Desktop>(new Win32Desktop(std::move(state)));
}

std::optional<ScreenPoint> Win32Desktop::GetCursorPos() {
    POINT point{};
    if (!::GetCursorPos(&point))
        return std::nullopt;
    return ScreenPoint{point.x, point.y};
}

void Win32Desktop::SetCursorPos(std::int32_t x, std::int32_t y) {
    // The system keeps the pointer on the screen: a point off it moves the
    // pointer to the nearest edge.
    ::SetCursorPos(x, y);
}

ColorValue Win32Desktop::GetPixel(std::int32_t x, std::int32_t y) {
    return ReadScreenPixel(x, y);
}

PixelBlock Win32Desktop::ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                                   std::int32_t height) {
    return ReadScreenBlock(left, top, width, height);
}

std::uint32_t Win32Desktop::KeysPressed(std::span<const int> virtualKeys) {
    std::uint32_t down = 0;
    for (std::size_t i = 0; i < virtualKeys.size() && i < 32; ++i) {
        const int virtualKey = virtualKeys[i];
        if (virtualKey <= 0 || virtualKey >= 256)
            continue;
        // Bit 15: down now. Bit 0 (pressed since the last call) is not asked.
        if (static_cast<std::uint16_t>(::GetAsyncKeyState(virtualKey)) & 0x8000u)
            down |= 1u << i;
    }
    return down;
}

bool Win32Desktop::RegisterHotKey(int id, unsigned modifiers, int virtualKey) {
    return state_->hotkeys->Register(id, modifiers, virtualKey);
}

void Win32Desktop::UnregisterHotKey(int id) {
    state_->hotkeys->Unregister(id);
}

void Win32Desktop::SetHotkeyHandler(std::function<void(const HotkeyPress&)> handler) {
    state_->hotkeys->SetHandler(std::move(handler));
}

void Win32Desktop::AttachEventLoop(DesktopEventLoop&) {
    // WM_HOTKEY is a message of this thread: its loop already delivers it.
}

void Win32Desktop::DispatchEvents() {
    state_->hotkeys->DispatchPending();
}

WindowHandle Win32Desktop::WindowFromPoint(ScreenPoint point) {
    return ToHandle(::WindowFromPoint(POINT{point.x, point.y}));
}

namespace {

BOOL CALLBACK AddTopLevelWindow(HWND window, LPARAM list) {
    if (const WindowHandle handle = ToHandle(window))
        reinterpret_cast<std::vector<WindowHandle>*>(list)->push_back(handle);
    return TRUE;
}

} // namespace

std::vector<WindowHandle> Win32Desktop::TopLevelWindows() {
    // EnumWindows walks a copy of the list taken first: a window closed or
    // restacked meanwhile neither ends the walk early nor comes twice.
    std::vector<WindowHandle> handles;
    ::EnumWindows(AddTopLevelWindow, reinterpret_cast<LPARAM>(&handles));
    return handles;
}

namespace {

// Every UTF-16 unit gives at least one UTF-8 byte, so the 255 units this
// buffer takes hold more than the 254 bytes the cut keeps.
constexpr int kTextUnits = 256;

std::string ToUtf8(const wchar_t* text, int length) {
    std::u16string units(static_cast<std::size_t>(std::max(length, 0)), u'\0');
    for (int i = 0; i < length; ++i)
        units[static_cast<std::size_t>(i)] = static_cast<char16_t>(text[i]);
    return Utf16ToUtf8(units);
}

} // namespace

std::string Win32Desktop::WindowText(WindowHandle window) {
    wchar_t buffer[kTextUnits] = {};
    if (window == 0)
        return {};
    // A window of this process answers with its own handler, whose count
    // may overstate what it wrote.
    return ToUtf8(buffer,
                  std::min(::GetWindowTextW(ToHwnd(window), buffer, kTextUnits), kTextUnits - 1));
}

std::string Win32Desktop::ClassName(WindowHandle window) {
    wchar_t buffer[kTextUnits] = {};
    if (window == 0)
        return {};
    return ToUtf8(buffer, ::GetClassNameW(ToHwnd(window), buffer, kTextUnits));
}

std::optional<CursorImage> Win32Desktop::GetCursorImage() {
    CURSORINFO info{};
    info.cbSize = sizeof(info);
    // No cursor at all: the caller copies the screen at the pointer instead.
    if (!::GetCursorInfo(&info) || (info.flags == 0 && info.hCursor == nullptr))
        return std::nullopt;
    return ReadCursorImage(info.hCursor);
}

std::optional<ScreenRect> Win32Desktop::ScreenBounds() {
    const VirtualScreen screen = CurrentVirtualScreen();
    if (screen.width <= 0 || screen.height <= 0)
        return std::nullopt;
    return ScreenRect{screen.left, screen.top, screen.width, screen.height};
}

} // namespace huegrab
