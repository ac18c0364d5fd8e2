// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_desktop.h"

#include "desktop/x11/x11_damage.h"
#include "desktop/x11/x11_error_trap.h"
#include "desktop/x11/x11_event_masks.h"
#include "desktop/x11/x11_hotkeys.h"
#include "desktop/x11/x11_key_map.h"
#include "desktop/x11/x11_resources.h"
#include "desktop/x11/x11_screen_reader.h"
#include "desktop/x11/x11_windows.h"
#include "desktop/x11/x11_xcb_reply.h"

#include <X11/XKBlib.h>
#include <X11/Xlib-xcb.h>
#include <X11/extensions/Xfixes.h>
#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <xcb/xcb.h>

namespace huegrab {

using namespace x11;

struct X11Desktop::State {
    // Declared first so that it is closed last, after the members below
    // have released what they hold on the connection.
    DisplayPtr display;
    Window root = None;
    bool hasXfixes = false;
    // Without detectable auto-repeat, a held key sends release/press pairs
    // that share a timestamp; those releases are then recognised by hand.
    bool detectableAutoRepeat = false;
    std::array<KeyCode, 256> keycodeOfVirtualKey{};
    std::function<void(const HotkeyPress&)> hotkeyHandler;
    Window watchedWindow = None;
    std::function<void()> watchedWindowDestroyed;
    std::unique_ptr<ScreenReader> screen;
    std::unique_ptr<HotkeyGrabs> hotkeys;
    std::unique_ptr<EventMasks> masks; // before the window reader, which uses it
    std::unique_ptr<WindowReader> windows;

    ~State() {
        hotkeys.reset();
        if (display)
            UnregisterOwnDisplay(display.get());
    }

    void ReadKeycodes() {
        for (int virtualKey = 0; virtualKey < 256; ++virtualKey) {
            const unsigned long keysym = KeysymForVirtualKey(virtualKey);
            keycodeOfVirtualKey[static_cast<std::size_t>(virtualKey)] =
                keysym ? XKeysymToKeycode(display.get(), keysym) : 0;
        }
    }

    // True for the release half of an auto-repeat release/press pair.
    bool IsRepeatRelease(const XKeyEvent& release) {
        if (detectableAutoRepeat || XEventsQueued(display.get(), QueuedAfterReading) == 0)
            return false;
        XEvent next;
        XPeekEvent(display.get(), &next);
        return next.type == KeyPress && next.xkey.keycode == release.keycode &&
               next.xkey.time == release.time;
    }
};

X11Desktop::X11Desktop(std::unique_ptr<State> state) : state_(std::move(state)) {}

X11Desktop::~X11Desktop() = default;

std::unique_ptr<X11Desktop> X11Desktop::Open(const char* displayName) {
    InstallErrorHandlers();
    DisplayPtr display(XOpenDisplay(displayName));
    if (!display)
        return nullptr;
    auto state = std::make_unique<State>();
    state->display = std::move(display);
    Display* dpy = state->display.get();
    RegisterOwnDisplay(dpy);
    state->root = DefaultRootWindow(dpy);

    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    // XFixes needs its version agreed before its first request.
    state->hasXfixes = XFixesQueryExtension(dpy, &eventBase, &errorBase) &&
                       XFixesQueryVersion(dpy, &major, &minor) && major >= 1;

    Bool supported = False;
    state->detectableAutoRepeat = XkbSetDetectableAutoRepeat(dpy, True, &supported) && supported;

    state->ReadKeycodes();
    state->screen = std::make_unique<ScreenReader>(dpy, state->root);
    state->hotkeys = std::make_unique<HotkeyGrabs>(dpy);
    state->masks = std::make_unique<EventMasks>(dpy);
    state->windows = std::make_unique<WindowReader>(dpy, state->root, *state->masks);
    // Size changes of the root (RandR) arrive as ConfigureNotify.
    state->masks->Select(state->root, EventMasks::Interest::RootSize, StructureNotifyMask);
    XFlush(dpy);
    return std::unique_ptr<X11Desktop>(new X11Desktop(std::move(state)));
}

std::optional<ScreenPoint> X11Desktop::GetCursorPos() {
    Display* dpy = state_->display.get();
    XErrorTrap trap(dpy);
    Window rootReturn = None;
    Window child = None;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned mask = 0;
    // False: the pointer is on another screen of the display.
    if (!XQueryPointer(dpy, state_->root, &rootReturn, &child, &rootX, &rootY, &windowX, &windowY,
                       &mask) ||
        trap.Failed())
        return std::nullopt;
    return ScreenPoint{rootX, rootY};
}

void X11Desktop::SetCursorPos(std::int32_t x, std::int32_t y) {
    // Like the Windows call, a point off the screen moves the pointer to the
    // nearest edge; the protocol's 16-bit coordinates would wrap otherwise.
    const int maxX = std::max(state_->screen->RootWidth() - 1, 0);
    const int maxY = std::max(state_->screen->RootHeight() - 1, 0);
    Display* dpy = state_->display.get();
    XWarpPointer(dpy, None, state_->root, 0, 0, 0, 0, std::clamp<std::int32_t>(x, 0, maxX),
                 std::clamp<std::int32_t>(y, 0, maxY));
    XFlush(dpy);
}

ColorValue X11Desktop::GetPixel(std::int32_t x, std::int32_t y) {
    const PixelBlock block = state_->screen->Read(x, y, 1, 1);
    return block.pixels.empty() ? kInvalidColor : block.pixels.front();
}

PixelBlock X11Desktop::ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                                 std::int32_t height) {
    return state_->screen->Read(left, top, width, height);
}

void X11Desktop::ReadBlockInStrips(const ScreenRect& area,
                                   const std::function<bool(const PixelBlock& strip)>& take) {
    state_->screen->ReadStrips(area.x, area.y, area.width, area.height, take);
}

namespace {

// The keymap is asked for only when one of the keys has a keycode.
std::optional<xcb_query_keymap_cookie_t> AskKeymap(xcb_connection_t* connection,
                                                   const std::array<std::uint8_t, 32>& keycodes) {
    if (std::all_of(keycodes.begin(), keycodes.end(), [](std::uint8_t k) { return k == 0; }))
        return std::nullopt;
    return xcb_query_keymap(connection);
}

// Bit i set while the key of keycodes[i] is down.
std::uint32_t KeysDown(xcb_connection_t* connection, std::optional<xcb_query_keymap_cookie_t> asked,
                       const std::array<std::uint8_t, 32>& keycodes) {
    if (!asked)
        return 0;
    const auto keymap = x11::Collect(connection, *asked, xcb_query_keymap_reply);
    if (!keymap)
        return 0;
    std::uint32_t down = 0;
    for (std::size_t i = 0; i < keycodes.size(); ++i) {
        const std::uint8_t keycode = keycodes[i];
        if (keycode != 0 && ((keymap->keys[keycode / 8] >> (keycode % 8)) & 1u))
            down |= 1u << i;
    }
    return down;
}

} // namespace

std::array<std::uint8_t, 32> X11Desktop::KeycodesOf(std::span<const int> virtualKeys) const {
    std::array<std::uint8_t, 32> keycodes{}; // 0: no key, reads as up
    for (std::size_t i = 0; i < virtualKeys.size() && i < keycodes.size(); ++i) {
        const int virtualKey = virtualKeys[i];
        if (virtualKey >= 0 && virtualKey < 256)
            keycodes[i] = state_->keycodeOfVirtualKey[static_cast<std::size_t>(virtualKey)];
    }
    return keycodes;
}

std::uint32_t X11Desktop::KeysPressed(std::span<const int> virtualKeys) {
    // One keymap query answers for every key asked about.
    xcb_connection_t* connection = XGetXCBConnection(state_->display.get());
    const std::array<std::uint8_t, 32> keycodes = KeycodesOf(virtualKeys);
    return KeysDown(connection, AskKeymap(connection, keycodes), keycodes);
}

PointerAndKeys X11Desktop::ReadPointerAndKeys(std::span<const int> virtualKeys) {
    // Both questions go out together and share one wait for the answers,
    // and with them the live probe's usual names: the pointer's answer
    // carries the first step of the window lookup that follows.
    xcb_connection_t* connection = XGetXCBConnection(state_->display.get());
    const std::array<std::uint8_t, 32> keycodes = KeycodesOf(virtualKeys);
    state_->windows->AskLeadNames();
    state_->screen->AskLeadBlock();
    const xcb_query_pointer_cookie_t pointerAsked =
        xcb_query_pointer(connection, static_cast<xcb_window_t>(state_->root));
    const std::optional<xcb_query_keymap_cookie_t> keysAsked = AskKeymap(connection, keycodes);

    PointerAndKeys read;
    const auto pointer = x11::Collect(connection, pointerAsked, xcb_query_pointer_reply);
    // Not on this screen: the pointer is on another screen of the display.
    if (pointer && pointer->same_screen) {
        read.position = ScreenPoint{pointer->root_x, pointer->root_y};
        state_->windows->SetLead(pointer->root_x, pointer->root_y, pointer->child);
    }
    read.keysDown = KeysDown(connection, keysAsked, keycodes);
    return read;
}

bool X11Desktop::RegisterHotKey(int id, unsigned modifiers, int virtualKey) {
    return state_->hotkeys->Register(id, modifiers, virtualKey);
}

void X11Desktop::UnregisterHotKey(int id) {
    state_->hotkeys->Unregister(id);
    XFlush(state_->display.get());
}

void X11Desktop::SetHotkeyHandler(std::function<void(const HotkeyPress&)> handler) {
    state_->hotkeyHandler = std::move(handler);
}

std::optional<HotkeyPress> X11Desktop::HotkeyOfKeyPress(std::uint32_t nativeKeyCode,
                                                        std::uint32_t nativeModifiers) {
    return state_->hotkeys->PressFor(nativeKeyCode, nativeModifiers);
}

void X11Desktop::AttachEventLoop(DesktopEventLoop& loop) {
    loop.WatchReadable(EventFd(), [this] { DispatchEvents(); });
    // Other calls may already have pulled events off the connection into
    // Xlib's queue, which leaves the descriptor quiet: hand those on before
    // the loop sleeps.
    loop.BeforeSleeping([this] {
        DispatchEvents();
        // A pointer read leads the reads of its own tick only.
        state_->windows->DropLead();
        state_->screen->DropLeadBlock();
    });
}

int X11Desktop::EventFd() const {
    return ConnectionNumber(state_->display.get());
}

void X11Desktop::DispatchEvents() {
    Display* dpy = state_->display.get();
    // xdotool sends several mapping changes for every character it types
    // that the keymap lacks. A run of them is read into one refresh, made
    // before the next key event (it must be judged by the mapping it was
    // pressed under) or once the queue is empty.
    bool mappingChanged = false;
    const auto refreshMapping = [&] {
        if (!mappingChanged)
            return;
        mappingChanged = false;
        state_->ReadKeycodes();
        state_->hotkeys->RefreshMapping();
    };
    // XPending reads what the socket holds without waiting for more.
    while (XPending(dpy) > 0) {
        XEvent event;
        XNextEvent(dpy, &event);
        switch (event.type) {
        case KeyPress:
            refreshMapping();
            if (const auto press = state_->hotkeys->OnKeyPress(event.xkey)) {
                if (state_->hotkeyHandler)
                    state_->hotkeyHandler(*press);
            }
            break;
        case KeyRelease:
            refreshMapping();
            state_->hotkeys->OnKeyRelease(event.xkey, state_->IsRepeatRelease(event.xkey));
            break;
        case MappingNotify:
            XRefreshKeyboardMapping(&event.xmapping);
            mappingChanged = mappingChanged || event.xmapping.request == MappingKeyboard ||
                             event.xmapping.request == MappingModifier;
            break;
        case ConfigureNotify:
            if (event.xconfigure.window == state_->root)
                state_->screen->SetRootSize(event.xconfigure.width, event.xconfigure.height);
            break;
        case PropertyNotify:
            state_->windows->NoteEvent(event);
            break;
        case DestroyNotify:
            // A window's selections end with it.
            state_->masks->Forget(event.xdestroywindow.window);
            state_->windows->NoteEvent(event);
            if (event.xdestroywindow.window == state_->watchedWindow &&
                state_->watchedWindowDestroyed) {
                state_->watchedWindow = None;
                // Moved out first: the handler may start a new watch.
                const std::function<void()> destroyed = std::move(state_->watchedWindowDestroyed);
                state_->watchedWindowDestroyed = nullptr;
                destroyed();
            }
            break;
        default:
            break;
        }
        if (mappingChanged && XEventsQueued(dpy, QueuedAlready) == 0)
            refreshMapping(); // its round trips may read more events in
    }
}

void X11Desktop::WatchWindowDestroyed(WindowHandle window, std::function<void()> destroyed) {
    if (state_->watchedWindow != None)
        state_->masks->Select(state_->watchedWindow, EventMasks::Interest::DestroyWatch, 0);
    state_->watchedWindow = None;
    state_->watchedWindowDestroyed = nullptr;
    if (window <= 0 || !destroyed)
        return;
    const auto xid = static_cast<Window>(window);
    // What this connection selects on the window for other reasons (its
    // names, the root's size) stays selected beside it.
    EventMasks& masks = *state_->masks;
    if (!masks.Made(xid,
                    masks.AskSelect(xid, EventMasks::Interest::DestroyWatch, StructureNotifyMask)))
        return; // gone already, or never a window
    state_->watchedWindow = xid;
    state_->watchedWindowDestroyed = std::move(destroyed);
}

namespace {

// Handles are XIDs; those fit in 29 bits, so anything not positive is no
// window of this display.
Window ToWindow(WindowHandle handle) {
    return handle > 0 ? static_cast<Window>(handle) : None;
}

WindowHandle ToHandle(Window window) {
    return window <= static_cast<Window>(std::numeric_limits<WindowHandle>::max())
               ? static_cast<WindowHandle>(window)
               : 0;
}

} // namespace

WindowHandle X11Desktop::WindowFromPoint(ScreenPoint point) {
    return ToHandle(state_->windows->WindowAt(point.x, point.y, state_->screen->RootWidth(),
                                              state_->screen->RootHeight()));
}

std::vector<WindowHandle> X11Desktop::TopLevelWindows() {
    std::vector<WindowHandle> handles;
    for (const Window window : state_->windows->TopLevelWindows()) {
        if (const WindowHandle handle = ToHandle(window))
            handles.push_back(handle);
    }
    return handles;
}

std::vector<WindowHandle> X11Desktop::TopLevelWindowsOneByOne() {
    std::vector<WindowHandle> handles;
    for (const Window window : state_->windows->TopLevelWindowsOneByOne()) {
        if (const WindowHandle handle = ToHandle(window))
            handles.push_back(handle);
    }
    return handles;
}

std::vector<TitledWindow> X11Desktop::TitledTopLevelWindows() {
    std::vector<TitledWindow> titled;
    for (auto& window : state_->windows->TitledTopLevelWindows()) {
        if (const WindowHandle handle = ToHandle(window.window))
            titled.push_back({handle, std::move(window.title)});
    }
    return titled;
}

std::string X11Desktop::WindowText(WindowHandle window) {
    return state_->windows->Title(ToWindow(window));
}

std::string X11Desktop::ClassName(WindowHandle window) {
    return state_->windows->ClassName(ToWindow(window));
}

WindowAtPoint X11Desktop::WindowAndNamesAt(ScreenPoint point) {
    auto [window, names] = state_->windows->WindowAndNamesAt(
        point.x, point.y, state_->screen->RootWidth(), state_->screen->RootHeight());
    return {ToHandle(window), {std::move(names.title), std::move(names.className)}};
}

WindowNames X11Desktop::WindowTextAndClass(WindowHandle window) {
    auto [title, className] = state_->windows->TitleAndClass(ToWindow(window));
    return {std::move(title), std::move(className)};
}

std::optional<CursorImage> X11Desktop::GetCursorImage() {
    if (!state_->hasXfixes)
        return std::nullopt;
    XErrorTrap trap(state_->display.get());
    XFreePtr<XFixesCursorImage> image(XFixesGetCursorImage(state_->display.get()));
    if (!image || trap.Failed() || image->width == 0 || image->height == 0)
        return std::nullopt;
    CursorImage cursor;
    cursor.width = image->width;
    cursor.height = image->height;
    cursor.xhot = image->xhot;
    cursor.yhot = image->yhot;
    const std::size_t count = static_cast<std::size_t>(image->width) * image->height;
    cursor.argb.resize(count);
    // Xlib widens each 32-bit ARGB value to unsigned long.
    std::transform(image->pixels, image->pixels + count, cursor.argb.begin(),
                   [](unsigned long pixel) { return static_cast<std::uint32_t>(pixel); });
    return cursor;
}

std::optional<ScreenRect> X11Desktop::ScreenBounds() {
    state_->screen->RefreshRootSize();
    return ScreenRect{0, 0, state_->screen->RootWidth(), state_->screen->RootHeight()};
}

std::unique_ptr<ScreenChangeWatch> X11Desktop::WatchScreenChanges(const ScreenRect& region) {
    return OpenDamageWatch(DisplayString(state_->display.get()), region);
}

} // namespace huegrab
