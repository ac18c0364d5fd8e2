// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_windows_at_point.h"

#include "desktop/x11/x11_xcb_reply.h"

#include <X11/Xlib-xcb.h>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <xcb/xcb.h>

namespace huegrab::x11 {
namespace {

// Nesting deeper than this is not a real window tree.
constexpr int kMaxDescent = 64;
// Window managers nest the client one to three levels below the frame; a
// frame of a program without a window manager is not searched past this
// many windows.
constexpr std::size_t kMaxWindowsSearched = 256;
constexpr auto kSearchBareFrameAgainAfter = std::chrono::seconds(1);

ReplyPtr<xcb_get_window_attributes_reply_t>
CollectAttributes(xcb_connection_t* connection, xcb_get_window_attributes_cookie_t cookie) {
    return Collect(connection, cookie, xcb_get_window_attributes_reply);
}

ReplyPtr<xcb_translate_coordinates_reply_t> CollectStep(xcb_connection_t* connection,
                                                        xcb_translate_coordinates_cookie_t cookie) {
    return Collect(connection, cookie, xcb_translate_coordinates_reply);
}

ReplyPtr<xcb_query_tree_reply_t> CollectTree(xcb_connection_t* connection,
                                             xcb_query_tree_cookie_t cookie) {
    return Collect(connection, cookie, xcb_query_tree_reply);
}

// Whether a window carries a property, asked without its value.
xcb_get_property_cookie_t AskHasProperty(xcb_connection_t* connection, Window window, Atom atom) {
    return xcb_get_property(connection, 0, static_cast<xcb_window_t>(window),
                            static_cast<xcb_atom_t>(atom), XCB_GET_PROPERTY_TYPE_ANY, 0, 0);
}

bool Carries(xcb_connection_t* connection, xcb_get_property_cookie_t cookie) {
    const auto reply = Collect(connection, cookie, xcb_get_property_reply);
    return reply && reply->type != XCB_NONE;
}

// The child of `window` at a root point, as the server answers a pointer.
xcb_translate_coordinates_cookie_t AskStep(xcb_connection_t* connection, Window root, Window window,
                                           int x, int y) {
    // The point lies on the screen, so it fits the protocol's 16 bits.
    return xcb_translate_coordinates(connection, static_cast<xcb_window_t>(root),
                                     static_cast<xcb_window_t>(window),
                                     static_cast<std::int16_t>(x), static_cast<std::int16_t>(y));
}

} // namespace

PointedWindowFinder::PointedWindowFinder(Display* display, Window root, Atom wmState)
    : display_(display), root_(root), wmState_(wmState) {}

Window PointedWindowFinder::FromRootChild(Window rootChild, int x, int y) {
    if (rootChild == None)
        return root_;
    xcb_connection_t* connection = XGetXCBConnection(display_);
    // Xlib may still hold requests of its own; send them first.
    XFlush(display_);
    const auto now = std::chrono::steady_clock::now();
    const bool known = remembered_.frame == rootChild;
    const bool checkRemembered = known && !remembered_.path.empty();
    const std::vector<Window> path = checkRemembered ? remembered_.path : std::vector<Window>{};

    // One round trip: the window's attributes, the descent's first step in
    // case it is needed, and either the check of the client remembered below
    // it or whether the window is a client itself.
    const auto attributesAsk =
        xcb_get_window_attributes(connection, static_cast<xcb_window_t>(rootChild));
    const auto stepAsk = AskStep(connection, root_, rootChild, x, y);
    std::vector<xcb_query_tree_cookie_t> pathAsks;
    for (std::size_t i = 1; i < path.size(); ++i)
        pathAsks.push_back(xcb_query_tree(connection, static_cast<xcb_window_t>(path[i])));
    const auto stateAsk =
        AskHasProperty(connection, checkRemembered ? path.back() : rootChild, wmState_);

    const auto attributes = CollectAttributes(connection, attributesAsk);
    const auto step = CollectStep(connection, stepAsk);
    bool stillInside = checkRemembered;
    for (std::size_t i = 0; i < pathAsks.size(); ++i) {
        const auto tree = CollectTree(connection, pathAsks[i]);
        if (!tree || tree->parent != path[i])
            stillInside = false;
    }
    const bool carries = Carries(connection, stateAsk);

    if (!attributes)
        return rootChild; // gone: the last window reached
    if (attributes->_class == XCB_WINDOW_CLASS_INPUT_ONLY)
        return root_;
    if (!attributes->override_redirect) {
        if (checkRemembered && stillInside && carries)
            return path.back();
        if (!checkRemembered && carries) {
            remembered_ = {rootChild, {rootChild}, now};
            return rootChild;
        }
        if (!known || checkRemembered || now - remembered_.searched >= kSearchBareFrameAgainAfter) {
            remembered_ = {rootChild, SearchClient(rootChild), now};
            if (!remembered_.path.empty())
                return remembered_.path.back();
        }
    }
    return Descend(rootChild, step ? step->child : None, 1, x, y);
}

Window PointedWindowFinder::Descend(Window parent, Window child, int depth, int x, int y) const {
    xcb_connection_t* connection = XGetXCBConnection(display_);
    Window current = parent;
    // Each level asks for the next step and for the class of the window
    // it steps into, in one round trip.
    for (Window next = child; next != None && depth < kMaxDescent; ++depth) {
        const auto stepAsk = AskStep(connection, root_, next, x, y);
        const auto attributesAsk =
            xcb_get_window_attributes(connection, static_cast<xcb_window_t>(next));
        const auto step = CollectStep(connection, stepAsk);
        const auto attributes = CollectAttributes(connection, attributesAsk);
        if (!attributes)
            return next; // gone under our feet: the last window reached
        // An InputOnly window holds only InputOnly windows: none below
        // it can be the answer either.
        if (attributes->_class == XCB_WINDOW_CLASS_INPUT_ONLY)
            return current;
        current = next;
        next = step ? step->child : None;
    }
    return current;
}

std::vector<Window> PointedWindowFinder::SearchClient(Window frame) const {
    xcb_connection_t* connection = XGetXCBConnection(display_);
    struct Visited {
        Window window;
        std::size_t parent; // index into `visited`; the frame has none
    };
    std::vector<Visited> visited{{frame, 0}};
    std::optional<std::size_t> found;
    std::size_t levelStart = 0;
    // One round trip per level, each asking about the whole level.
    for (int depth = 0; depth < kMaxDescent && !found; ++depth) {
        const std::size_t levelEnd = std::min(visited.size(), kMaxWindowsSearched);
        if (levelStart >= levelEnd)
            break;
        struct Ask {
            xcb_get_property_cookie_t state;
            xcb_query_tree_cookie_t tree;
        };
        std::vector<Ask> asks;
        for (std::size_t i = levelStart; i < levelEnd; ++i) {
            const auto window = static_cast<xcb_window_t>(visited[i].window);
            asks.push_back(
                {AskHasProperty(connection, window, wmState_), xcb_query_tree(connection, window)});
        }
        for (std::size_t k = 0; k < asks.size(); ++k) {
            const std::size_t index = levelStart + k;
            const bool carries = Carries(connection, asks[k].state);
            const auto tree = CollectTree(connection, asks[k].tree);
            if (found)
                continue; // the rest of the replies are taken all the same
            if (carries) {
                found = index;
            } else if (tree) {
                const xcb_window_t* children = xcb_query_tree_children(tree.get());
                for (int c = 0; c < xcb_query_tree_children_length(tree.get()); ++c)
                    visited.push_back({children[c], index});
            }
        }
        levelStart = levelEnd;
    }
    if (!found)
        return {};
    std::vector<Window> path;
    for (std::size_t index = *found; index != 0; index = visited[index].parent)
        path.insert(path.begin(), visited[index].window);
    path.insert(path.begin(), frame);
    return path;
}

} // namespace huegrab::x11
