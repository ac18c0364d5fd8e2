// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_windows.h"

#include "desktop/x11/x11_error_trap.h"
#include "desktop/x11/x11_resources.h"
#include "desktop/x11/x11_text.h"

#include <X11/Xatom.h>
#include <cstddef>
#include <deque>
#include <optional>

namespace huegrab::x11 {
namespace {

// How far below a frame the client window is looked for. Window managers
// nest it two or three levels deep; the limit keeps a walk over a desktop
// without a window manager from visiting every widget of every program.
constexpr std::size_t kMaxWindowsSearchedPerFrame = 256;

// The children of a window, bottom-most first; nullopt when it is gone.
std::optional<std::vector<Window>> ChildrenOf(Display* display, Window window) {
    Window rootReturn = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &rootReturn, &parent, &children, &count))
        return std::nullopt;
    XFreePtr<Window> owner(children);
    return std::vector<Window>(children, children + count);
}

} // namespace

WindowReader::WindowReader(Display* display, Window root, EventMasks& masks)
    : display_(display), root_(root), masks_(masks),
      wmState_(XInternAtom(display, "WM_STATE", False)),
      netWmName_(XInternAtom(display, "_NET_WM_NAME", False)),
      utf8String_(XInternAtom(display, "UTF8_STRING", False)),
      compoundText_(XInternAtom(display, "COMPOUND_TEXT", False)),
      pointed_(display, root, wmState_) {
    atoms_.wmState = wmState_;
    atoms_.netClientList = XInternAtom(display, "_NET_CLIENT_LIST", False);
    atoms_.netClientListStacking = XInternAtom(display, "_NET_CLIENT_LIST_STACKING", False);
    atoms_.netSupportingWmCheck = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    atoms_.netWmName = netWmName_;
    atoms_.utf8String = utf8String_;
}

Window WindowReader::WindowAt(int x, int y, int rootWidth, int rootHeight) {
    if (x < 0 || y < 0 || x >= rootWidth || y >= rootHeight)
        return None;
    XErrorTrap trap(display_);
    int localX = 0;
    int localY = 0;
    Window rootChild = None;
    if (!XTranslateCoordinates(display_, root_, root_, x, y, &localX, &localY, &rootChild) ||
        trap.Failed())
        return root_;
    return pointed_.FromRootChild(rootChild, x, y);
}

std::vector<Window> WindowReader::TopLevelWindows() const {
    XErrorTrap trap(display_);
    return WalkTopLevelWindows(display_, root_, atoms_, false).windows;
}

std::vector<WindowReader::Titled> WindowReader::TitledTopLevelWindows() const {
    XErrorTrap trap(display_);
    const TopLevelWalk walk = WalkTopLevelWindows(display_, root_, atoms_, true);
    std::vector<Titled> titled;
    for (std::size_t i = 0; i < walk.windows.size(); ++i) {
        std::string title = DecodeTitle(walk.names[i].netWmName, walk.names[i].wmName);
        if (!title.empty())
            titled.push_back({walk.windows[i], std::move(title)});
    }
    return titled;
}

std::vector<Window> WindowReader::TopLevelWindowsOneByOne() const {
    XErrorTrap trap(display_);
    std::vector<Window> windows;
    const auto children = ChildrenOf(display_, root_);
    if (!children)
        return windows;
    for (auto it = children->rbegin(); it != children->rend(); ++it) {
        const Window client = ClientWindowOf(*it);
        if (client != None)
            windows.push_back(client);
    }
    return windows;
}

// Breadth-first search for the window carrying WM_STATE; the frame itself
// when there is none, None when the frame vanished.
Window WindowReader::ClientWindowOf(Window frame) const {
    std::deque<Window> pending{frame};
    std::size_t searched = 0;
    while (!pending.empty() && searched < kMaxWindowsSearchedPerFrame) {
        const Window window = pending.front();
        pending.pop_front();
        ++searched;
        if (HasProperty(display_, window, wmState_))
            return window;
        const auto children = ChildrenOf(display_, window);
        if (!children) {
            if (window == frame)
                return None;
            continue;
        }
        pending.insert(pending.end(), children->begin(), children->end());
    }
    return frame;
}

namespace {

// The class half of WM_CLASS's "instance\0class\0".
std::string ClassOfWmClass(std::string_view bytes) {
    const std::size_t split = bytes.find('\0');
    if (split == std::string_view::npos)
        return {};
    std::string_view className = bytes.substr(split + 1);
    className = className.substr(0, className.find('\0'));
    return CutWindowText(StringPropertyToUtf8(className));
}

} // namespace

// Title and class alone cost the same single round trip as both together.
std::string WindowReader::Title(Window window) const {
    return TitleAndClass(window).title;
}

std::string WindowReader::ClassName(Window window) const {
    return TitleAndClass(window).className;
}

std::string WindowReader::DecodeTitle(const std::optional<PropertyValue>& netWmName,
                                      const std::optional<PropertyValue>& wmName) const {
    if (netWmName && netWmName->type == utf8String_ && !netWmName->bytes.empty())
        return CutWindowText(netWmName->bytes);
    return wmName ? LegacyName(*wmName) : std::string();
}

std::string WindowReader::LegacyName(const PropertyValue& name) const {
    if (name.format != 8)
        return {};
    if (name.type == utf8String_)
        return CutWindowText(name.bytes);
    if (name.type == compoundText_) {
        std::string bytes = name.bytes; // Xlib wants a writable buffer
        XTextProperty text{reinterpret_cast<unsigned char*>(bytes.data()), name.type, name.format,
                           bytes.size()};
        char** list = nullptr;
        int count = 0;
        if (Xutf8TextPropertyToTextList(display_, &text, &list, &count) >= Success) {
            StringListPtr owner(list);
            if (count > 0 && list && list[0])
                return CutWindowText(list[0]);
            return {};
        }
    }
    // STRING, or text that could not be converted: keep what reads as text.
    const std::string_view bytes = name.bytes;
    return CutWindowText(StringPropertyToUtf8(bytes.substr(0, bytes.find('\0'))));
}

WindowReader::Names WindowReader::DecodeNames(const NamesAndClass& read) const {
    return {DecodeTitle(read.names.netWmName, read.names.wmName),
            read.wmClass ? ClassOfWmClass(read.wmClass->bytes) : std::string()};
}

WindowReader::Names WindowReader::TitleAndClass(Window window) const {
    if (window == None)
        return {};
    XErrorTrap trap(display_);
    return DecodeNames(ReadNamesAndClass(display_, window, atoms_));
}

WindowReader::Found WindowReader::WindowAndNamesAt(int x, int y, int rootWidth, int rootHeight) {
    const bool onScreen = x >= 0 && y >= 0 && x < rootWidth && y < rootHeight;
    const bool led = lead_ && lead_->placed && lead_->x == x && lead_->y == y && onScreen;
    if (!led) {
        // No pointer read leads this lookup: the names of the window found
        // last go out with the descent's first request instead.
        DiscardLead();
        if (onScreen)
            AskLeadNames();
    }
    Found found;
    if (!led)
        found.window = WindowAt(x, y, rootWidth, rootHeight);
    else
        found.window = pointed_.FromRootChild(lead_->rootChild, x, y);
    lastFound_ = found.window;
    const bool watched = found.window != None && found.window == watched_.window;
    if (watched && watched_.names) {
        found.names = *watched_.names;
        DiscardLead();
        return found;
    }
    if (watched && lead_ && lead_->names && found.window == lead_->namesOf) {
        // The names asked ahead serve only if the lookup ended at their
        // window. A window gone by now answers with errors, which go with
        // the replies.
        found.names = DecodeNames(CollectNamesAndClass(display_, *lead_->names));
        lead_.reset();
    } else {
        DiscardLead();
        // Selected before the names are read: a change after the read is
        // then reported.
        std::optional<xcb_void_cookie_t> selected;
        if (!watched)
            selected = Watch(found.window);
        found.names = TitleAndClass(found.window);
        // The names' replies brought the selection's answer along. A window
        // gone before it was selected reports nothing, not even its end: a
        // window given its id later must not inherit these names.
        if (!masks_.Made(found.window, selected))
            watched_ = {};
    }
    if (found.window != None && found.window == watched_.window)
        watched_.names = found.names;
    return found;
}

void WindowReader::AskLeadNames() {
    DiscardLead();
    lead_.emplace();
    // Only names reported changed are asked for, and only of a watched
    // window: those of another could change unreported after the read.
    if (lastFound_ != None && lastFound_ == watched_.window && !watched_.names) {
        lead_->names = AskNamesAndClass(display_, lastFound_, atoms_);
        lead_->namesOf = lastFound_;
    }
}

void WindowReader::SetLead(int x, int y, Window rootChild) {
    if (!lead_)
        return;
    lead_->placed = true;
    lead_->x = x;
    lead_->y = y;
    lead_->rootChild = rootChild;
}

void WindowReader::DropLead() {
    // No lookup followed the pointer read (the window panel is not
    // probing): ask for no names until one runs again.
    if (lead_ && lead_->names)
        lastFound_ = None;
    DiscardLead();
}

void WindowReader::DiscardLead() {
    if (lead_ && lead_->names)
        DiscardNamesAndClass(display_, *lead_->names);
    lead_.reset();
}

std::optional<xcb_void_cookie_t> WindowReader::Watch(Window window) {
    // Structure changes bring DestroyNotify: a window id can be given to a
    // new window once the old one is gone.
    constexpr long kNamesEvents = PropertyChangeMask | StructureNotifyMask;
    if (watched_.window != None)
        masks_.Select(watched_.window, EventMasks::Interest::NamesWatch, 0);
    watched_ = {};
    if (window == None)
        return std::nullopt;
    watched_.window = window;
    return masks_.AskSelect(window, EventMasks::Interest::NamesWatch, kNamesEvents);
}

void WindowReader::NoteEvent(const XEvent& event) {
    if (event.type == PropertyNotify) {
        const Atom changed = event.xproperty.atom;
        if (event.xproperty.window == watched_.window &&
            (changed == XA_WM_NAME || changed == netWmName_ || changed == XA_WM_CLASS))
            watched_.names.reset();
    } else if (event.type == DestroyNotify) {
        if (event.xdestroywindow.window == watched_.window)
            watched_ = {};
    }
}

} // namespace huegrab::x11
