// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_services.h"

#include <memory>

namespace huegrab {

// The Windows desktop through user32 and gdi32. Coordinates are virtual-
// screen pixels with the origin at the primary monitor's top-left.
//
// Hotkeys belong to a message-only window of the thread that opened the
// desktop; that thread's message loop delivers WM_HOTKEY, so
// AttachEventLoop() needs to hook nothing.
class Win32Desktop final : public DesktopServices {
public:
    // nullptr when the hotkey window cannot be made.
    static std::unique_ptr<Win32Desktop> Open();
    ~Win32Desktop() override;
    Win32Desktop(const Win32Desktop&) = delete;
    Win32Desktop& operator=(const Win32Desktop&) = delete;

    std::optional<ScreenPoint> GetCursorPos() override;
    void SetCursorPos(std::int32_t x, std::int32_t y) override;

    ColorValue GetPixel(std::int32_t x, std::int32_t y) override;
    PixelBlock ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height) override;

    std::uint32_t KeysPressed(std::span<const int> virtualKeys) override;

    bool RegisterHotKey(int id, unsigned modifiers, int virtualKey) override;
    void UnregisterHotKey(int id) override;
    void SetHotkeyHandler(std::function<void(const HotkeyPress&)> handler) override;
    void AttachEventLoop(DesktopEventLoop& loop) override;
    void DispatchEvents() override;

    WindowHandle WindowFromPoint(ScreenPoint point) override;
    std::vector<WindowHandle> TopLevelWindows() override;
    std::string WindowText(WindowHandle window) override;
    std::string ClassName(WindowHandle window) override;

    std::optional<CursorImage> GetCursorImage() override;
    std::optional<ScreenRect> ScreenBounds() override;

private:
    struct State;
    explicit Win32Desktop(std::unique_ptr<State> state);

    std::unique_ptr<State> state_;
};

} // namespace huegrab
