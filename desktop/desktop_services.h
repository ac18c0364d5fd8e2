#pragma once

#include "color/color_model.h"
#include "desktop/desktop_event_loop.h"
#include "desktop/screen_watch.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace huegrab {

// Root-window coordinates in device pixels (what xdotool and xwininfo use).
struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// A rectangle of screen pixels read in one go. Pixels outside the screen
// hold kInvalidColor.
struct PixelBlock {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<ColorValue> pixels; // row-major, width * height

    // The pixel at screen point (x, y); kInvalidColor outside the block.
    ColorValue At(std::int32_t x, std::int32_t y) const {
        // 64-bit differences: a block near the coordinate limits must not wrap.
        if (x < left || y < top || std::int64_t{x} - left >= width ||
            std::int64_t{y} - top >= height)
            return kInvalidColor;
        return pixels[static_cast<std::size_t>(y - top) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x - left)];
    }
};

// Windows virtual-key codes; the backends map them to their own keys.
namespace vk {
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int kOem3 = 0xC0; // the key left of 1: ` and ~ on a US layout
} // namespace vk

// Windows hotkey modifier flags.
namespace hotkey_mod {
inline constexpr unsigned kAlt = 1;
inline constexpr unsigned kControl = 2;
inline constexpr unsigned kShift = 4;
inline constexpr unsigned kWin = 8;
} // namespace hotkey_mod

// A press of a registered hotkey, shaped like WM_HOTKEY: wParam is the id,
// lParam holds the pressed modifiers in the low and the key in the high word.
struct HotkeyMessage {
    int id = 0;
    std::int32_t lParam = 0;
    friend bool operator==(const HotkeyMessage&, const HotkeyMessage&) = default;
};

// Window handles are 32-bit values, shown as signed decimal. 0 is no window.
using WindowHandle = std::int32_t;

// A top-level window and its title.
struct TitledWindow {
    WindowHandle handle = 0;
    std::string title;
    friend bool operator==(const TitledWindow&, const TitledWindow&) = default;
};

// A window's title and class name, as WindowText and ClassName read them.
struct WindowNames {
    std::string title;
    std::string className;
};

// The window at a point with its title and class.
struct WindowAtPoint {
    WindowHandle window = 0;
    WindowNames names;
};

// The current cursor image: premultiplied ARGB, one 32-bit value per pixel.
struct CursorImage {
    int width = 0;
    int height = 0;
    int xhot = 0;
    int yhot = 0;
    std::vector<std::uint32_t> argb; // row-major, width * height
};

// The pointer and the keys asked about, read at one moment.
struct PointerAndKeys {
    std::optional<ScreenPoint> position; // nullopt when it cannot be read
    std::uint32_t keysDown = 0;          // as KeysPressed gives it
};

// Everything the program asks of the live desktop. All calls run on the UI
// thread, never throw, and report failure through their result.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // Pointer. nullopt when the position cannot be read.
    virtual std::optional<ScreenPoint> GetCursorPos() = 0;
    virtual void SetCursorPos(std::int32_t x, std::int32_t y) = 0;

    // One screen pixel, 0x00BBGGRR, or kInvalidColor off the screen.
    virtual ColorValue GetPixel(std::int32_t x, std::int32_t y) = 0;
    // A block of screen pixels in one read; the parts off the screen are
    // kInvalidColor. width and height are at least 1.
    virtual PixelBlock ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                                 std::int32_t height) = 0;

    // Global key state of several keys in one read of the keyboard: bit i of
    // the result is set while virtualKeys[i] is down. Keys past the 32nd and
    // unknown codes read as up.
    virtual std::uint32_t KeysPressed(std::span<const int> virtualKeys) = 0;
    // The same for one key.
    bool IsKeyPressed(int virtualKey) { return (KeysPressed({&virtualKey, 1}) & 1u) != 0; }
    // GetCursorPos and KeysPressed together, as the tick starts; a backend
    // may answer both in one exchange with its display server.
    virtual PointerAndKeys ReadPointerAndKeys(std::span<const int> virtualKeys) {
        std::optional<ScreenPoint> position = GetCursorPos();
        return {position, KeysPressed(virtualKeys)};
    }

    // Global hotkeys. Register returns false when another program holds the
    // combination. Presses reach the handler through the event loop.
    virtual bool RegisterHotKey(int id, unsigned modifiers, int virtualKey) = 0;
    virtual void UnregisterHotKey(int id) = 0;
    virtual void SetHotkeyHandler(std::function<void(const HotkeyMessage&)> handler) = 0;
    // A key press that reached the toolkit's own windows, as the toolkit's
    // native key code and modifier state: the message of the registered
    // hotkey it is, if it is one. Where a pop-up of the program holds the
    // keyboard (X11), the hotkey's presses go to the pop-up, not to the
    // backend's grab, and must be handed on from there.
    virtual std::optional<HotkeyMessage> HotkeyOfKeyPress(std::uint32_t /*nativeKeyCode*/,
                                                          std::uint32_t /*nativeModifiers*/) {
        return std::nullopt;
    }

    // Hooks the backend's event delivery into the UI's event loop. The hooks
    // stay until the loop or the backend goes; presses then reach the
    // handler without further calls.
    virtual void AttachEventLoop(DesktopEventLoop& loop) = 0;
    // Handles whatever desktop events are pending, without blocking.
    virtual void DispatchEvents() = 0;
    // Calls `destroyed` (through the event loop, like the hotkey handler)
    // once another program destroys `window`, one of the toolkit's
    // top-level windows. One window is watched at a time; a later call
    // replaces the watch, and a null function ends it. A desktop where no
    // other program can destroy the window (Win32: only its own thread may)
    // keeps this default.
    virtual void WatchWindowDestroyed(WindowHandle /*window*/,
                                      std::function<void()> /*destroyed*/) {}

    // Windows. Titles and class names come back as UTF-8 of at most 254
    // bytes, never cut inside a character.
    virtual WindowHandle WindowFromPoint(ScreenPoint point) = 0;
    virtual std::vector<WindowHandle> TopLevelWindows() = 0; // topmost first
    virtual std::string WindowText(WindowHandle window) = 0;
    virtual std::string ClassName(WindowHandle window) = 0;
    // Both at once, for the window under the pointer on every tick; backends
    // that can ask for the two together override it.
    virtual WindowNames WindowTextAndClass(WindowHandle window) {
        return {WindowText(window), ClassName(window)};
    }
    // WindowFromPoint and the names of the window it finds, as the live
    // probe asks on every tick; backends that can answer both in fewer
    // exchanges with their display server override it.
    virtual WindowAtPoint WindowAndNamesAt(ScreenPoint point) {
        const WindowHandle window = WindowFromPoint(point);
        return {window, WindowTextAndClass(window)};
    }
    // The top-level windows that have a title, topmost first, with their
    // titles as WindowText reads them. Backends that can ask about many
    // windows at once override it; this one asks window by window.
    virtual std::vector<TitledWindow> TitledTopLevelWindows() {
        std::vector<TitledWindow> windows;
        for (const WindowHandle handle : TopLevelWindows()) {
            if (std::string title = WindowText(handle); !title.empty())
                windows.push_back({handle, std::move(title)});
        }
        return windows;
    }

    // The cursor image, or nullopt when it cannot be read.
    virtual std::optional<CursorImage> GetCursorImage() = 0;

    // Reads the area as strips of whole rows, top to bottom, handing each to
    // `take`, which returns false to stop. A whole screen then needs one
    // strip's memory instead of the whole screen's, and a search can stop
    // at its first match. Backends with a faster way override it.
    virtual void ReadBlockInStrips(const ScreenRect& area,
                                   const std::function<bool(const PixelBlock& strip)>& take) {
        constexpr std::int64_t kStripPixels = 1 << 18;
        constexpr std::int64_t kPastLastCoordinate = std::int64_t{INT32_MAX} + 1;
        if (area.width <= 0 || area.height <= 0)
            return;
        // A row wider than a strip (an area asked of a desktop that cannot
        // tell its size) is read in pieces, one row at a time, so that the
        // pieces still come in reading order.
        const std::int64_t pieceWidth = std::min<std::int64_t>(area.width, kStripPixels);
        const std::int64_t rowsPerStrip = kStripPixels / pieceWidth;
        // 64-bit: for an area nearly as tall or wide as the coordinates
        // allow, its far edge passes the 32-bit range. Pixels past it are
        // not on any screen.
        const std::int64_t right = std::min(std::int64_t{area.x} + area.width, kPastLastCoordinate);
        const std::int64_t bottom =
            std::min(std::int64_t{area.y} + area.height, kPastLastCoordinate);
        for (std::int64_t top = area.y; top < bottom; top += rowsPerStrip) {
            const auto rows = static_cast<std::int32_t>(std::min(rowsPerStrip, bottom - top));
            for (std::int64_t left = area.x; left < right; left += pieceWidth) {
                const auto width = static_cast<std::int32_t>(std::min(pieceWidth, right - left));
                if (!take(ReadBlock(static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                                    width, rows)))
                    return;
            }
        }
    }

    // Optional abilities: a backend without them keeps these answers.
    // The screen's rectangle; nullopt when the backend cannot tell.
    virtual std::optional<ScreenRect> ScreenBounds() { return std::nullopt; }
    // Change notification for a region; nullptr when the desktop offers
    // none, and callers then poll.
    virtual std::unique_ptr<ScreenChangeWatch> WatchScreenChanges(const ScreenRect& /*region*/) {
        return nullptr;
    }
};

// The screen pixel at (x, y) as 0x00BBGGRR, or kInvalidColor when it cannot
// be read: every reader of single points goes through here.
inline ColorValue ReadScreenPixel(DesktopServices& desktop, std::int32_t x, std::int32_t y) {
    const ColorValue value = desktop.GetPixel(x, y);
    return value < 0 ? kInvalidColor : value;
}

} // namespace huegrab
