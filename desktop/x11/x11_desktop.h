// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_services.h"

#include <array>
#include <cstdint>
#include <memory>

struct _XDisplay;

namespace huegrab {

// The Linux desktop through Xlib and XFixes, on an X connection of its own
// (not the toolkit's). Coordinates are root-window device pixels.
//
// Hotkey presses arrive on this connection; AttachEventLoop() watches its
// descriptor and also drains Xlib's queue before the loop sleeps.
class X11Desktop final : public DesktopServices {
public:
    // nullptr when the display cannot be opened. nullptr as the name means
    // $DISPLAY.
    static std::unique_ptr<X11Desktop> Open(const char* displayName = nullptr);
    ~X11Desktop() override;
    X11Desktop(const X11Desktop&) = delete;
    X11Desktop& operator=(const X11Desktop&) = delete;

    std::optional<ScreenPoint> GetCursorPos() override;
    void SetCursorPos(std::int32_t x, std::int32_t y) override;

    ColorValue GetPixel(std::int32_t x, std::int32_t y) override;
    PixelBlock ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height) override;
    void ReadBlockInStrips(const ScreenRect& area,
                           const std::function<bool(const PixelBlock& strip)>& take) override;

    std::uint32_t KeysPressed(std::span<const int> virtualKeys) override;
    PointerAndKeys ReadPointerAndKeys(std::span<const int> virtualKeys) override;
    WindowAtPoint WindowAndNamesAt(ScreenPoint point) override;

    bool RegisterHotKey(int id, unsigned modifiers, int virtualKey) override;
    void UnregisterHotKey(int id) override;
    void SetHotkeyHandler(std::function<void(const HotkeyPress&)> handler) override;
    std::optional<HotkeyPress> HotkeyOfKeyPress(std::uint32_t nativeKeyCode,
                                                std::uint32_t nativeModifiers) override;
    void AttachEventLoop(DesktopEventLoop& loop) override;
    void DispatchEvents() override;
    void WatchWindowDestroyed(WindowHandle window, std::function<void()> destroyed) override;
    // The connection's descriptor, readable when events wait.
    int EventFd() const;

    WindowHandle WindowFromPoint(ScreenPoint point) override;
    std::vector<WindowHandle> TopLevelWindows() override;
    std::string WindowText(WindowHandle window) override;
    std::string ClassName(WindowHandle window) override;
    WindowNames WindowTextAndClass(WindowHandle window) override;
    std::vector<TitledWindow> TitledTopLevelWindows() override;
    // The walk of top-level windows (TopLevelWindows() where no window manager
    // publishes its stacking) one request at a time, as the yardstick the
    // batched walk is checked and measured against.
    std::vector<WindowHandle> TopLevelWindowsOneByOne();

    std::optional<CursorImage> GetCursorImage() override;

    std::optional<ScreenRect> ScreenBounds() override;
    std::unique_ptr<ScreenChangeWatch> WatchScreenChanges(const ScreenRect& region) override;

private:
    // The keycode of each virtual key asked about; 0 where there is none.
    std::array<std::uint8_t, 32> KeycodesOf(std::span<const int> virtualKeys) const;

    struct State;
    explicit X11Desktop(std::unique_ptr<State> state);

    std::unique_ptr<State> state_;
};

} // namespace huegrab
