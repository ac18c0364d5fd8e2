// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/x11/support/x_connection.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace huegrab::xtest {

// X modifier masks for GrabKey, spelled out so that tests need no Xlib.
inline constexpr unsigned kShiftMask = 1u << 0;
inline constexpr unsigned kLockMask = 1u << 1;
inline constexpr unsigned kControlMask = 1u << 2;
inline constexpr unsigned kAltMask = 1u << 3;  // Mod1
inline constexpr unsigned kMod2Mask = 1u << 4; // NumLock on the usual keymaps

// A top-level window for a test: a solid colour, and the title and class
// properties a test wants to read back.
struct TestWindowSetup {
    int x = 0;
    int y = 0;
    int width = 100;
    int height = 100;
    std::uint32_t rgb = 0xFFFFFF;      // background, 0xRRGGBB
    std::string netWmName;             // _NET_WM_NAME, UTF-8; empty: none
    std::string wmName;                // WM_NAME bytes of wmNameType; empty: none
    std::string wmNameType = "STRING"; // or "UTF8_STRING", "COMPOUND_TEXT"
    // WM_CLASS "instance\0class\0"; no WM_CLASS when both are empty.
    std::string instanceName = "huegrab-test";
    std::string className = "HuegrabTest";
    bool map = true;
    // Bypasses the window manager: stays exactly where it is put.
    bool overrideRedirect = false;
    // Takes input only: draws nothing, has no colour.
    bool inputOnly = false;
};

// A solid rectangle that stays exactly where it is put: no window manager
// frames or moves it.
inline TestWindowSetup PlacedRectangle(int x, int y, int width, int height,
                                       std::uint32_t rgb = 0xFFFFFF) {
    TestWindowSetup setup;
    setup.x = x;
    setup.y = y;
    setup.width = width;
    setup.height = height;
    setup.rgb = rgb;
    setup.overrideRedirect = true;
    return setup;
}

// A second X client with its own connection, for making windows, grabbing
// keys and the like as another program would. X errors on it (a grab that
// is refused) are caught, never fatal.
class TestClient {
public:
    static std::unique_ptr<TestClient> Connect(const std::string& displayName);

    _XDisplay* Connection() const { return connection_.get(); }
    XId Root() const;
    void Sync();
    // Waits until the window manager has handled every event the server
    // sent it before this call. A client that closed may leave it windows
    // still to unmanage, and a client connecting after is handed the same
    // ids again: without the wait, the window manager's late work on the
    // old window (unmapping, reparenting it) lands on a new one. False
    // when it does not answer within the timeout.
    bool WaitForWindowManager(std::chrono::milliseconds timeout = 5000ms);

    // A mapped window is waited for until it is viewable (under a window
    // manager, until it has been framed and shown). 0 on failure.
    XId CreateWindow(const TestWindowSetup& setup);
    // Many windows at once: all are created and mapped before the first is
    // waited for. Empty on failure.
    std::vector<XId> CreateWindows(const std::vector<TestWindowSetup>& specs);
    // A plain child window of a solid colour, mapped.
    XId CreateChild(XId parent, int x, int y, int width, int height, std::uint32_t rgb);
    // A mapped InputOnly child.
    XId CreateInputOnlyChild(XId parent, int x, int y, int width, int height);
    void MapWindow(XId window);
    bool WaitViewable(XId window, std::chrono::milliseconds timeout = 5000ms);
    // Destroys and waits until the server has done it.
    void DestroyWindow(XId window);
    // Destroys without waiting (for races).
    void DestroyWindowAsync(XId window);
    // The next window made gets `id`, one of this client's own, destroyed:
    // a client that has used up its ids is given freed ones back.
    void ReuseIdForNextWindow(XId id);
    void RaiseWindow(XId window);
    void SetTextProperty(XId window, const std::string& property, const std::string& type,
                         const std::string& bytes);
    // A property of type WINDOW holding `windows`, as a window manager
    // publishes its lists.
    void SetWindowsProperty(XId window, const std::string& property,
                            const std::vector<XId>& windows);
    // A cursor from the cursor font (XC_crosshair is 34). What the shape
    // looks like depends on the cursor theme.
    void SetFontCursor(XId window, unsigned shape);
    // A cursor of exactly known pixels: `source` and `mask` hold one 0 or 1
    // per pixel, row by row. Pixels in the mask show the foreground where
    // the source is 1, the background where it is 0; the rest is clear.
    void SetBitmapCursor(XId window, int width, int height, const std::vector<std::uint8_t>& source,
                         const std::vector<std::uint8_t>& mask, int xhot, int yhot,
                         std::uint32_t foregroundRgb, std::uint32_t backgroundRgb);
    // Something that is an X resource but not a window.
    XId CreatePixmap();

    // Root coordinates of the window's top-left inside pixel.
    std::optional<std::pair<int, int>> RootPosition(XId window);
    // The events all clients together select on a window, as the server
    // knows them; nullopt when the window is gone.
    std::optional<long> AllEventMasks(XId window);
    XId Parent(XId window);
    // Children bottom-most first.
    std::vector<XId> Children(XId window);
    // The pixel value of a colour on the default colour map.
    unsigned long PixelFor(std::uint32_t rgb);
    XId InternAtom(const std::string& name);

    // A passive grab on the root, as another program would hold a hotkey.
    // False when the server refuses it (someone else holds it).
    bool GrabKey(const std::string& keysymName, unsigned modifiers);
    void UngrabKey(const std::string& keysymName, unsigned modifiers);
    // Gives the window the keyboard focus and selects its key presses, as
    // the program in front that the user types into.
    void TakeKeyboardFocus(XId window);
    // Takes the events that have arrived and counts the key presses.
    int TakeKeyPresses();

    // Takes the CLIPBOARD selection like a program that then hangs: no
    // request for it is ever answered. False when the server refuses.
    bool OwnClipboardWithoutAnswering();
    // The targets asked for from such an owner until another client takes
    // the clipboard over; nullopt when none does within `timeout`.
    std::optional<std::vector<std::string>>
    UnansweredRequestsUntilTakenOver(std::chrono::milliseconds timeout);

private:
    XId CreateUnmapped(const TestWindowSetup& setup);
    explicit TestClient(XConnection connection) : connection_(std::move(connection)) {}
    XConnection connection_;
};

} // namespace huegrab::xtest
