// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/x11/support/test_client.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace huegrab::xtest {
namespace {

int lastErrorCode = 0;

int RecordError(Display*, XErrorEvent* event) {
    lastErrorCode = event->error_code;
    return 0;
}

// Runs the requests of `body` with errors recorded instead of fatal; the
// first error code, 0 when there was none.
template <typename Body> int WithErrorsCaught(Display* display, Body body) {
    XSync(display, False);
    lastErrorCode = 0;
    const XErrorHandler previous = XSetErrorHandler(RecordError);
    body();
    XSync(display, False);
    XSetErrorHandler(previous);
    return lastErrorCode;
}

} // namespace

std::unique_ptr<TestClient> TestClient::Connect(const std::string& displayName) {
    XConnection connection = OpenConnection(displayName);
    if (!connection)
        return nullptr;
    return std::unique_ptr<TestClient>(new TestClient(std::move(connection)));
}

XId TestClient::Root() const {
    return DefaultRootWindow(connection_.get());
}

void TestClient::Sync() {
    XSync(Connection(), False);
}

bool TestClient::WaitForWindowManager(std::chrono::milliseconds timeout) {
    Display* display = Connection();
    // A window it never manages, whose frame extents it is asked for: it
    // answers in the order of its events, so the answer comes after all
    // that came before the request.
    const Window window = XCreateSimpleWindow(display, Root(), 0, 0, 1, 1, 0, 0, 0);
    const Atom extents = InternAtom("_NET_FRAME_EXTENTS");
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = window;
    request.xclient.message_type = InternAtom("_NET_REQUEST_FRAME_EXTENTS");
    request.xclient.format = 32;
    XSendEvent(display, Root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
    XSync(display, False);
    const bool answered = WaitUntil(
        [&] {
            Atom type = None;
            int format = 0;
            unsigned long count = 0;
            unsigned long after = 0;
            unsigned char* data = nullptr;
            const bool read =
                XGetWindowProperty(display, window, extents, 0, 4, False, AnyPropertyType, &type,
                                   &format, &count, &after, &data) == Success;
            if (data)
                XFree(data);
            return read && type != None;
        },
        timeout);
    XDestroyWindow(display, window);
    XSync(display, False);
    return answered;
}

XId TestClient::InternAtom(const std::string& name) {
    return XInternAtom(Connection(), name.c_str(), False);
}

unsigned long TestClient::PixelFor(std::uint32_t rgb) {
    Display* display = Connection();
    XColor color{};
    // 8-bit channels to X's 16-bit ones: 0xAB becomes 0xABAB.
    color.red = static_cast<unsigned short>(((rgb >> 16) & 0xFF) * 0x101);
    color.green = static_cast<unsigned short>(((rgb >> 8) & 0xFF) * 0x101);
    color.blue = static_cast<unsigned short>((rgb & 0xFF) * 0x101);
    color.flags = DoRed | DoGreen | DoBlue;
    if (!XAllocColor(display, DefaultColormap(display, DefaultScreen(display)), &color))
        return BlackPixel(display, DefaultScreen(display));
    return color.pixel;
}

void TestClient::SetTextProperty(XId window, const std::string& property, const std::string& type,
                                 const std::string& bytes) {
    XChangeProperty(Connection(), window, InternAtom(property), InternAtom(type), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(bytes.data()),
                    static_cast<int>(bytes.size()));
}

void TestClient::SetWindowsProperty(XId window, const std::string& property,
                                    const std::vector<XId>& windows) {
    // Format 32 properties are handed to Xlib as longs.
    const std::vector<long> values(windows.begin(), windows.end());
    XChangeProperty(Connection(), window, InternAtom(property), XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values.data()),
                    static_cast<int>(values.size()));
}

XId TestClient::CreateWindow(const TestWindowSetup& setup) {
    const auto windows = CreateWindows({setup});
    return windows.empty() ? 0 : windows.front();
}

std::vector<XId> TestClient::CreateWindows(const std::vector<TestWindowSetup>& specs) {
    std::vector<XId> windows;
    for (const TestWindowSetup& setup : specs) {
        const XId window = CreateUnmapped(setup);
        if (window == 0)
            return {};
        windows.push_back(window);
        if (setup.map)
            XMapWindow(Connection(), window);
    }
    XSync(Connection(), False);
    for (std::size_t i = 0; i < specs.size(); ++i) {
        if (specs[i].map && !WaitViewable(windows[i]))
            return {};
    }
    return windows;
}

namespace {

// Xlib hands out ids through a hook of the display; this one gives the id
// set aside once, then puts the usual hook back.
XID idToReuse = None;
XID (*usualIdHook)(Display*) = nullptr;

XID ReusedId(Display* display) {
    reinterpret_cast<_XPrivDisplay>(display)->resource_alloc = usualIdHook;
    return idToReuse;
}

} // namespace

void TestClient::ReuseIdForNextWindow(XId id) {
    auto* display = reinterpret_cast<_XPrivDisplay>(Connection());
    idToReuse = id;
    usualIdHook = display->resource_alloc;
    display->resource_alloc = ReusedId;
}

XId TestClient::CreateUnmapped(const TestWindowSetup& setup) {
    Display* display = Connection();
    XSetWindowAttributes attributes{};
    attributes.background_pixel = PixelFor(setup.rgb);
    attributes.override_redirect = setup.overrideRedirect ? True : False;
    // An InputOnly window has no background (and no depth of its own).
    const Window window =
        XCreateWindow(display, Root(), setup.x, setup.y, static_cast<unsigned>(setup.width),
                      static_cast<unsigned>(setup.height), 0, setup.inputOnly ? 0 : CopyFromParent,
                      setup.inputOnly ? InputOnly : InputOutput, CopyFromParent,
                      (setup.inputOnly ? 0 : CWBackPixel) | CWOverrideRedirect, &attributes);
    if (window == None)
        return 0;

    // Ask the window manager to keep the position and size given.
    XSizeHints hints{};
    hints.flags = USPosition | USSize;
    hints.x = setup.x;
    hints.y = setup.y;
    hints.width = setup.width;
    hints.height = setup.height;
    XSetWMNormalHints(display, window, &hints);

    if (!setup.netWmName.empty())
        SetTextProperty(window, "_NET_WM_NAME", "UTF8_STRING", setup.netWmName);
    if (!setup.wmName.empty())
        SetTextProperty(window, "WM_NAME", setup.wmNameType, setup.wmName);
    if (!setup.instanceName.empty() || !setup.className.empty()) {
        std::string wmClass = setup.instanceName;
        wmClass += '\0';
        wmClass += setup.className;
        wmClass += '\0';
        SetTextProperty(window, "WM_CLASS", "STRING", wmClass);
    }
    return window;
}

XId TestClient::CreateChild(XId parent, int x, int y, int width, int height, std::uint32_t rgb) {
    Display* display = Connection();
    const Window child = XCreateSimpleWindow(display, parent, x, y, static_cast<unsigned>(width),
                                             static_cast<unsigned>(height), 0, 0, PixelFor(rgb));
    XMapWindow(display, child);
    XSync(display, False);
    return child;
}

bool TestClient::WaitViewable(XId window, std::chrono::milliseconds timeout) {
    Display* display = Connection();
    return WaitUntil(
        [&] {
            XWindowAttributes attributes{};
            return XGetWindowAttributes(display, window, &attributes) &&
                   attributes.map_state == IsViewable;
        },
        timeout);
}

XId TestClient::CreateInputOnlyChild(XId parent, int x, int y, int width, int height) {
    Display* display = Connection();
    XSetWindowAttributes attributes{};
    const Window child = XCreateWindow(display, parent, x, y, static_cast<unsigned>(width),
                                       static_cast<unsigned>(height), 0, 0, InputOnly,
                                       CopyFromParent, 0, &attributes);
    XMapWindow(display, child);
    XSync(display, False);
    return child;
}

void TestClient::MapWindow(XId window) {
    XMapWindow(Connection(), window);
    XFlush(Connection());
}

void TestClient::DestroyWindow(XId window) {
    XDestroyWindow(Connection(), window);
    XSync(Connection(), False);
}

void TestClient::DestroyWindowAsync(XId window) {
    XDestroyWindow(Connection(), window);
    XFlush(Connection());
}

void TestClient::RaiseWindow(XId window) {
    XRaiseWindow(Connection(), window);
    XSync(Connection(), False);
}

void TestClient::SetFontCursor(XId window, unsigned shape) {
    const Cursor cursor = XCreateFontCursor(Connection(), shape);
    XDefineCursor(Connection(), window, cursor);
    XFreeCursor(Connection(), cursor); // the window keeps its own reference
    XSync(Connection(), False);
}

namespace {

// XBM bits: one bit per pixel, least significant first, rows padded to bytes.
std::vector<char> ToBitmapData(int width, int height, const std::vector<std::uint8_t>& bits) {
    const int stride = (width + 7) / 8;
    std::vector<char> data(static_cast<std::size_t>(stride * height), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (bits[static_cast<std::size_t>(y * width + x)])
                data[static_cast<std::size_t>(y * stride + x / 8)] |=
                    static_cast<char>(1 << (x % 8));
        }
    }
    return data;
}

XColor ToXColor(std::uint32_t rgb) {
    XColor color{};
    color.red = static_cast<unsigned short>(((rgb >> 16) & 0xFF) * 0x101);
    color.green = static_cast<unsigned short>(((rgb >> 8) & 0xFF) * 0x101);
    color.blue = static_cast<unsigned short>((rgb & 0xFF) * 0x101);
    color.flags = DoRed | DoGreen | DoBlue;
    return color;
}

} // namespace

void TestClient::SetBitmapCursor(XId window, int width, int height,
                                 const std::vector<std::uint8_t>& source,
                                 const std::vector<std::uint8_t>& mask, int xhot, int yhot,
                                 std::uint32_t foregroundRgb, std::uint32_t backgroundRgb) {
    Display* display = Connection();
    const auto sourceData = ToBitmapData(width, height, source);
    const auto maskData = ToBitmapData(width, height, mask);
    const Pixmap sourcePixmap =
        XCreateBitmapFromData(display, Root(), sourceData.data(), static_cast<unsigned>(width),
                              static_cast<unsigned>(height));
    const Pixmap maskPixmap =
        XCreateBitmapFromData(display, Root(), maskData.data(), static_cast<unsigned>(width),
                              static_cast<unsigned>(height));
    XColor foreground = ToXColor(foregroundRgb);
    XColor background = ToXColor(backgroundRgb);
    const Cursor cursor =
        XCreatePixmapCursor(display, sourcePixmap, maskPixmap, &foreground, &background,
                            static_cast<unsigned>(xhot), static_cast<unsigned>(yhot));
    XDefineCursor(display, window, cursor);
    XFreeCursor(display, cursor);
    XFreePixmap(display, sourcePixmap);
    XFreePixmap(display, maskPixmap);
    XSync(display, False);
}

XId TestClient::CreatePixmap() {
    const Pixmap pixmap = XCreatePixmap(Connection(), Root(), 8, 8,
                                        static_cast<unsigned>(DefaultDepth(Connection(), 0)));
    XSync(Connection(), False);
    return pixmap;
}

std::optional<long> TestClient::AllEventMasks(XId window) {
    XWindowAttributes attributes{};
    Status got = 0;
    const int error = WithErrorsCaught(
        Connection(), [&] { got = XGetWindowAttributes(Connection(), window, &attributes); });
    if (error != 0 || got == 0)
        return std::nullopt;
    return attributes.all_event_masks;
}

std::optional<std::pair<int, int>> TestClient::RootPosition(XId window) {
    int x = 0;
    int y = 0;
    Window child = None;
    bool translated = false;
    const int error = WithErrorsCaught(Connection(), [&] {
        translated = XTranslateCoordinates(Connection(), window, Root(), 0, 0, &x, &y, &child);
    });
    if (error != 0 || !translated)
        return std::nullopt;
    return std::make_pair(x, y);
}

XId TestClient::Parent(XId window) {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned count = 0;
    WithErrorsCaught(Connection(),
                     [&] { XQueryTree(Connection(), window, &root, &parent, &children, &count); });
    if (children)
        XFree(children);
    return parent;
}

std::vector<XId> TestClient::Children(XId window) {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned count = 0;
    WithErrorsCaught(Connection(),
                     [&] { XQueryTree(Connection(), window, &root, &parent, &children, &count); });
    std::vector<XId> result(children, children + count);
    if (children)
        XFree(children);
    return result;
}

bool TestClient::GrabKey(const std::string& keysymName, unsigned modifiers) {
    const KeyCode keycode = XKeysymToKeycode(Connection(), XStringToKeysym(keysymName.c_str()));
    if (keycode == 0)
        return false;
    return WithErrorsCaught(Connection(), [&] {
               XGrabKey(Connection(), keycode, modifiers, Root(), False, GrabModeAsync,
                        GrabModeAsync);
           }) == 0;
}

void TestClient::UngrabKey(const std::string& keysymName, unsigned modifiers) {
    const KeyCode keycode = XKeysymToKeycode(Connection(), XStringToKeysym(keysymName.c_str()));
    XUngrabKey(Connection(), keycode, modifiers, Root());
    XSync(Connection(), False);
}

void TestClient::TakeKeyboardFocus(XId window) {
    XSelectInput(Connection(), window, KeyPressMask);
    XSetInputFocus(Connection(), window, RevertToPointerRoot, CurrentTime);
    XSync(Connection(), False);
}

int TestClient::TakeKeyPresses() {
    int presses = 0;
    while (XPending(Connection()) > 0) {
        XEvent event;
        XNextEvent(Connection(), &event);
        if (event.type == KeyPress)
            ++presses;
    }
    return presses;
}

bool TestClient::OwnClipboardWithoutAnswering() {
    Display* display = Connection();
    const Window owner = XCreateSimpleWindow(display, Root(), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    XSetSelectionOwner(display, clipboard, owner, CurrentTime);
    XSync(display, False);
    return XGetSelectionOwner(display, clipboard) == owner;
}

std::optional<std::vector<std::string>>
TestClient::UnansweredRequestsUntilTakenOver(std::chrono::milliseconds timeout) {
    std::vector<std::string> targets;
    bool takenOver = false;
    WaitUntil(
        [&] {
            while (!takenOver && XPending(Connection()) > 0) {
                XEvent event;
                XNextEvent(Connection(), &event);
                if (event.type == SelectionClear) {
                    takenOver = true;
                } else if (event.type == SelectionRequest) {
                    char* name = XGetAtomName(Connection(), event.xselectionrequest.target);
                    targets.emplace_back(name ? name : "");
                    XFree(name);
                }
            }
            return takenOver;
        },
        timeout);
    if (!takenOver)
        return std::nullopt;
    return targets;
}

} // namespace huegrab::xtest
