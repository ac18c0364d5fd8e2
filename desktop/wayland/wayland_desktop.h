// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_services.h"

#include <memory>
#include <optional>
#include <string>

namespace huegrab {

namespace wayland {
class ClickPicker;
class ScreenshotPortal;
} // namespace wayland

// The desktop of a Wayland session, as the desktop portal offers it to an
// ordinary program: screen pixels through one screenshot per read. A
// Wayland compositor tells other programs neither where the pointer is nor
// which windows it shows, and takes no global key grabs from them: those
// abilities are not offered, and WhyNotOffered says so.
class WaylandDesktop final : public DesktopServices {
public:
    // nullptr, with a line for a person in `whyNot`, without a screenshot
    // portal on the session bus.
    static std::unique_ptr<WaylandDesktop> Open(std::string& whyNot);
    explicit WaylandDesktop(std::unique_ptr<wayland::ScreenshotPortal> portal);
    ~WaylandDesktop() override;

    std::optional<std::string> WhyNotOffered(DesktopAbility ability) override;

    // Pixels: each read is a fresh screenshot, except that the first read
    // after ScreenBounds uses the one taken to answer it. A screenshot the
    // portal will not give ends the process as a lost desktop does (see
    // ExitWhenTheDesktopIsLost): no reading must pass for one.
    ColorValue GetPixel(std::int32_t x, std::int32_t y) override;
    PixelBlock ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height) override;
    void ReadBlockInStrips(const ScreenRect& area,
                           const std::function<bool(const PixelBlock& strip)>& take) override;
    std::optional<ScreenRect> ScreenBounds() override;

    // The user clicks the point where the compositor lets slurp draw over
    // the screen (see wayland::ClickPicker).
    bool PicksPointsByClick() override;
    std::optional<ScreenPoint> PickPointByClick(std::string& whyNot) override;

    // Not offered: empty answers (see WhyNotOffered).
    std::optional<ScreenPoint> GetCursorPos() override { return std::nullopt; }
    void SetCursorPos(std::int32_t, std::int32_t) override {}
    std::uint32_t KeysPressed(std::span<const int>) override { return 0; }
    bool RegisterHotKey(int, unsigned, int) override { return false; }
    void UnregisterHotKey(int) override {}
    void SetHotkeyHandler(std::function<void(const HotkeyPress&)>) override {}
    void AttachEventLoop(DesktopEventLoop&) override {}
    void DispatchEvents() override {}
    WindowHandle WindowFromPoint(ScreenPoint) override { return 0; }
    std::vector<WindowHandle> TopLevelWindows() override { return {}; }
    std::string WindowText(WindowHandle) override { return {}; }
    std::string ClassName(WindowHandle) override { return {}; }
    std::optional<CursorImage> GetCursorImage() override { return std::nullopt; }

private:
    // The whole desktop now.
    PixelBlock Screenshot();

    std::unique_ptr<wayland::ScreenshotPortal> portal_; // keeps GLib out of this header
    std::optional<PixelBlock> unread_;                  // taken for ScreenBounds, not yet read
    std::unique_ptr<wayland::ClickPicker> picker_;
};

} // namespace huegrab
