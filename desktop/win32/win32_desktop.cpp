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

void Win32Desktop::SetHotkeyHandler(std::function<void(const HotkeyMessage&)> handler) {
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

std::vector<WindowHandle> Win32Desktop::TopLevelWindows() {
    std::vector<WindowHandle> handles;
    // Windows that are closed during the walk end it early (GetWindow gives
    // 0); a bound guards against a list that changes under the walk forever.
    constexpr std::size_t kMaxWindows = 1 << 16;
    for (HWND window = ::GetWindow(::GetDesktopWindow(), GW_CHILD);
         window && handles.size() < kMaxWindows; window = ::GetWindow(window, GW_HWNDNEXT)) {
        if (const WindowHandle handle = ToHandle(window))
            handles.push_back(handle);
    }
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
    return ToUtf8(buffer, ::GetWindowTextW(ToHwnd(window), buffer, kTextUnits));
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

} // namespace huegrab
