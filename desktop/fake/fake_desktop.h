// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_services.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace huegrab {

// A virtual desktop held in memory: a screen of any size, a pointer, key
// states, windows, a cursor image, hotkeys and switchable failures. Tests
// script it directly through its public members.
class FakeDesktop final : public DesktopServices {
public:
    struct Window {
        WindowHandle handle = 0;
        std::string title;
        std::string className;
        // Screen rectangle used by WindowFromPoint.
        std::int32_t left = 0, top = 0, width = 0, height = 0;
    };
    // A hotkey's modifiers and key, as RegisterHotKey takes them.
    struct HotkeyKeys {
        unsigned modifiers = 0;
        int virtualKey = 0;
        friend auto operator<=>(const HotkeyKeys&, const HotkeyKeys&) = default;
    };

    FakeDesktop(std::int32_t width, std::int32_t height, ColorValue fill = 0);

    // Screen content.
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    void Fill(ColorValue value);
    void SetPixel(std::int32_t x, std::int32_t y, ColorValue value);

    // Scripted state.
    ScreenPoint pointer;
    std::set<int> keysDown;
    std::vector<Window> windows; // topmost first
    std::optional<CursorImage> cursor;
    bool failCursorPos = false;       // GetCursorPos reports failure
    std::set<HotkeyKeys> heldHotkeys; // combinations another program has registered
    // Abilities the desktop lacks, with the line WhyNotOffered gives.
    std::map<DesktopAbility, std::string> notOffered;
    // Click-to-pick: offered when set; a pick gives `clickedPoint`, and
    // nullopt stands for a user who cancelled.
    bool picksByClick = false;
    std::optional<ScreenPoint> clickedPoint;
    std::function<void()> duringPick;   // the screen changing while the user picks
    std::function<void()> onEndPicking; // the user's pick ending as EndPicking asks
    // Runs inside UnregisterHotKey: a call that, say, ends the process as
    // Xlib does when the X connection broke.
    std::function<void()> duringUnregisterHotKey;

    // What the program did.
    std::vector<ScreenPoint> cursorMoves;
    int pixelReads = 0;
    int keyboardReads = 0;
    int blockReads = 0;
    int cursorImageReads = 0;
    int picks = 0;
    std::map<int, HotkeyKeys> registeredHotkeys; // by id

    // Delivers a hotkey press as the desktop would; true if a handler ran.
    // The press may name other keys than its id was registered with.
    bool PressHotkey(const HotkeyPress& press);

    // The desktop roles.
    std::optional<ScreenPoint> GetCursorPos() override;
    void SetCursorPos(std::int32_t x, std::int32_t y) override;
    ColorValue GetPixel(std::int32_t x, std::int32_t y) override;
    PixelBlock ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height) override;
    std::uint32_t KeysPressed(std::span<const int> virtualKeys) override;
    bool RegisterHotKey(int id, unsigned modifiers, int virtualKey) override;
    void UnregisterHotKey(int id) override;
    void SetHotkeyHandler(std::function<void(const HotkeyPress&)> handler) override;
    void AttachEventLoop(DesktopEventLoop&) override {}
    void DispatchEvents() override {}
    WindowHandle WindowFromPoint(ScreenPoint point) override;
    std::vector<WindowHandle> TopLevelWindows() override;
    std::string WindowText(WindowHandle window) override;
    std::string ClassName(WindowHandle window) override;
    std::optional<CursorImage> GetCursorImage() override {
        ++cursorImageReads;
        return cursor;
    }
    std::optional<ScreenRect> ScreenBounds() override { return ScreenRect{0, 0, width_, height_}; }
    bool PicksPointsByClick() override { return picksByClick; }
    std::optional<ScreenPoint> PickPointByClick(std::string& whyNot) override;
    void EndPicking() override {
        if (onEndPicking)
            onEndPicking();
    }
    std::optional<std::string> WhyNotOffered(DesktopAbility ability) override {
        const auto it = notOffered.find(ability);
        return it == notOffered.end() ? std::nullopt : std::optional(it->second);
    }

private:
    const Window* FindWindow(WindowHandle handle) const;

    std::int32_t width_;
    std::int32_t height_;
    std::vector<ColorValue> screen_;
    std::function<void(const HotkeyPress&)> hotkeyHandler_;
};

} // namespace huegrab
