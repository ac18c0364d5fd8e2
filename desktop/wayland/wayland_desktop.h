// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_services.h"
#include "desktop/screen_share_consent.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace huegrab {

namespace wayland {
class ClickPicker;
class LiveScreen;
class ScreenshotPortal;
} // namespace wayland

// How the desktop reads the screen: one screenshot per read (a script's
// single readings), or a screen cast that stays open (the window's tracking).
enum class WaylandReading { Screenshots, Live };

// The desktop of a Wayland session, as the desktop portal offers it to an
// ordinary program: screen pixels through screenshots or a screen cast, and
// the pointer where the desktop sends it with the cast (GNOME, KDE). A
// Wayland compositor does not tell other programs which windows it shows,
// and takes no global key grabs from them: those abilities are not
// offered, and WhyNotOffered says so.
class WaylandDesktop final : public DesktopServices {
public:
    // nullptr, with a line for a person in `whyNot`, without a screenshot
    // portal on the session bus. `consent` keeps the screen cast's token.
    static std::unique_ptr<WaylandDesktop> Open(WaylandReading reading, ScreenShareConsent consent,
                                                std::string& whyNot);
    // `live` is nullptr without a screen-cast portal; `castShowsPointer`
    // when the cast can carry the pointer's position.
    WaylandDesktop(WaylandReading reading, std::unique_ptr<wayland::ScreenshotPortal> portal,
                   std::unique_ptr<wayland::LiveScreen> live, bool castShowsPointer);
    ~WaylandDesktop() override;

    std::optional<std::string> WhyNotOffered(DesktopAbility ability) override;

    // Pixels: from the cast once it runs. Before that, with Screenshots
    // each read is a fresh screenshot, except that the first read after
    // ScreenBounds uses the one taken to answer it; a screenshot the portal
    // will not give ends the process as a lost desktop does (see
    // ExitWhenTheDesktopIsLost): no reading must pass for one. Live, where
    // the cast shows the pointer, the first read starts the cast, and reads
    // before it runs (its share dialog is open) are off the screen; where
    // points are picked by click, reads come from the screenshot taken as
    // the pick began (see PickPointByClick).
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
    void EndPicking() override;

    // The pointer from the cast, which the first call starts. With
    // Screenshots the call waits for the cast (and the user, the first
    // time); a cast that will not start ends the process as above. Live, it
    // returns at once, nullopt until the cast runs.
    std::optional<ScreenPoint> GetCursorPos() override;

    // Not offered: empty answers (see WhyNotOffered).
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
    // The whole desktop now; nullopt, with the reason, when the portal
    // gives no screenshot.
    std::optional<PixelBlock> TakeScreenshot(std::string& whyNot);
    // The same, or the one ScreenBounds took; a screenshot the portal will
    // not give ends the process.
    PixelBlock Screenshot();

    // The cast's block, once it runs; nullopt before.
    std::optional<PixelBlock> LiveBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                                        std::int32_t height);

    WaylandReading reading_;
    std::unique_ptr<wayland::ScreenshotPortal> portal_; // keeps GLib out of this header
    std::unique_ptr<wayland::LiveScreen> live_;         // nullptr: no screen-cast portal
    bool castShowsPointer_;
    bool castFailureSaid_ = false;
    std::optional<PixelBlock> unread_; // taken for ScreenBounds, not yet read
    // The window's screen as its pick began, taken on the picking thread.
    std::mutex pickedMutex_;
    std::optional<PixelBlock> pickedScreen_;
    std::unique_ptr<wayland::ClickPicker> picker_;
};

} // namespace huegrab
