// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_services.h"

#include <utility>

namespace huegrab::bench {

// Hands every required operation of each role to a real desktop, so that a
// benchmark overrides just the one it compares against. The optional
// abilities keep the roles' plain versions unless a benchmark forwards them
// too.
class ForwardingDesktop : public DesktopServices {
public:
    explicit ForwardingDesktop(DesktopServices& real) : real_(real) {}

    // ScreenPixels
    ColorValue GetPixel(std::int32_t x, std::int32_t y) override { return real_.GetPixel(x, y); }
    PixelBlock ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height) override {
        return real_.ReadBlock(left, top, width, height);
    }

    // PointerAndKeyboard
    std::optional<ScreenPoint> GetCursorPos() override { return real_.GetCursorPos(); }
    void SetCursorPos(std::int32_t x, std::int32_t y) override { real_.SetCursorPos(x, y); }
    std::uint32_t KeysPressed(std::span<const int> keys) override {
        return real_.KeysPressed(keys);
    }
    PointerAndKeys ReadPointerAndKeys(std::span<const int> keys) override {
        return real_.ReadPointerAndKeys(keys);
    }

    // DesktopWindows
    WindowHandle WindowFromPoint(ScreenPoint point) override {
        return real_.WindowFromPoint(point);
    }
    std::vector<WindowHandle> TopLevelWindows() override { return real_.TopLevelWindows(); }
    std::string WindowText(WindowHandle window) override { return real_.WindowText(window); }
    std::string ClassName(WindowHandle window) override { return real_.ClassName(window); }
    WindowAtPoint WindowAndNamesAt(ScreenPoint point) override {
        return real_.WindowAndNamesAt(point);
    }

    // GlobalHotkeys
    bool RegisterHotKey(int id, unsigned modifiers, int key) override {
        return real_.RegisterHotKey(id, modifiers, key);
    }
    void UnregisterHotKey(int id) override { real_.UnregisterHotKey(id); }
    void SetHotkeyHandler(std::function<void(const HotkeyPress&)> handler) override {
        real_.SetHotkeyHandler(std::move(handler));
    }

    // DesktopEvents
    void AttachEventLoop(DesktopEventLoop& loop) override { real_.AttachEventLoop(loop); }
    void DispatchEvents() override { real_.DispatchEvents(); }

    // CursorImageSource
    std::optional<CursorImage> GetCursorImage() override { return real_.GetCursorImage(); }

protected:
    DesktopServices& real_;
};

} // namespace huegrab::bench
