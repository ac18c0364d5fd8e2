// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_services.h"

#include <memory>

namespace huegrab {

// The desktop of the window in a Wayland session: the screen, the pointer
// and every refusal come from the desktop portal; the key state, the hotkey
// and the event loop from XWayland, where the window itself runs (so the
// hotkey and the arrow keys are seen only while an XWayland window has the
// focus).
class PortalWithXWayland final : public DesktopServices {
public:
    PortalWithXWayland(std::unique_ptr<DesktopServices> portal,
                       std::unique_ptr<DesktopServices> xwayland)
        : portal_(std::move(portal)), xwayland_(std::move(xwayland)) {}

    std::optional<std::string> WhyNotOffered(DesktopAbility ability) override {
        return ability == DesktopAbility::Hotkeys ? xwayland_->WhyNotOffered(ability)
                                                  : portal_->WhyNotOffered(ability);
    }

    ColorValue GetPixel(std::int32_t x, std::int32_t y) override { return portal_->GetPixel(x, y); }
    PixelBlock ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height) override {
        return portal_->ReadBlock(left, top, width, height);
    }
    void ReadBlockInStrips(const ScreenRect& area,
                           const std::function<bool(const PixelBlock& strip)>& take) override {
        portal_->ReadBlockInStrips(area, take);
    }
    std::optional<ScreenRect> ScreenBounds() override { return portal_->ScreenBounds(); }

    std::optional<ScreenPoint> GetCursorPos() override { return portal_->GetCursorPos(); }
    void SetCursorPos(std::int32_t x, std::int32_t y) override { portal_->SetCursorPos(x, y); }
    std::uint32_t KeysPressed(std::span<const int> virtualKeys) override {
        return xwayland_->KeysPressed(virtualKeys);
    }
    PointerAndKeys ReadPointerAndKeys(std::span<const int> virtualKeys) override {
        return {portal_->GetCursorPos(), xwayland_->KeysPressed(virtualKeys)};
    }

    WindowHandle WindowFromPoint(ScreenPoint point) override {
        return portal_->WindowFromPoint(point);
    }
    std::vector<WindowHandle> TopLevelWindows() override { return portal_->TopLevelWindows(); }
    std::string WindowText(WindowHandle window) override { return portal_->WindowText(window); }
    std::string ClassName(WindowHandle window) override { return portal_->ClassName(window); }
    std::optional<CursorImage> GetCursorImage() override { return portal_->GetCursorImage(); }
    bool PicksPointsByClick() override { return portal_->PicksPointsByClick(); }
    std::optional<ScreenPoint> PickPointByClick(std::string& whyNot) override {
        return portal_->PickPointByClick(whyNot);
    }
    void EndPicking() override { portal_->EndPicking(); }

    bool RegisterHotKey(int id, unsigned modifiers, int virtualKey) override {
        return xwayland_->RegisterHotKey(id, modifiers, virtualKey);
    }
    void UnregisterHotKey(int id) override { xwayland_->UnregisterHotKey(id); }
    void SetHotkeyHandler(std::function<void(const HotkeyPress&)> handler) override {
        xwayland_->SetHotkeyHandler(std::move(handler));
    }
    std::optional<HotkeyPress> HotkeyOfKeyPress(std::uint32_t nativeKeyCode,
                                                std::uint32_t nativeModifiers) override {
        return xwayland_->HotkeyOfKeyPress(nativeKeyCode, nativeModifiers);
    }
    void AttachEventLoop(DesktopEventLoop& loop) override { xwayland_->AttachEventLoop(loop); }
    void DispatchEvents() override { xwayland_->DispatchEvents(); }

private:
    std::unique_ptr<DesktopServices> portal_;
    std::unique_ptr<DesktopServices> xwayland_;
};

} // namespace huegrab
