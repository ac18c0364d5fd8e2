// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_window_walk.h"

#include "desktop/x11/x11_xcb_reply.h"
#include "text/unicode.h"

#include <X11/Xlib-xcb.h>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <xcb/xcb.h>

namespace huegrab::x11 {
namespace {

// The same limits as the one-by-one search: window managers nest the client
// two or three levels below the frame; a walk over a desktop without one
// must not visit every widget of every program.
constexpr std::size_t kMaxWindowsSearchedPerFrame = 256;
constexpr int kMaxDepth = 64;
// Properties are read up to this many 32-bit units. A title or class shows
// at most 254 bytes: 1 KiB holds them in any encoding in use, COMPOUND_TEXT's
// escapes included, and a walk over thousands of windows with huge titles
// moves a few megabytes, not gigabytes.
constexpr std::uint32_t kNameUnits = 256;
constexpr std::uint32_t kClientListUnits = 65536; // room for 65536 clients

ReplyPtr<xcb_query_tree_reply_t> CollectTree(xcb_connection_t* connection,
                                             xcb_query_tree_cookie_t cookie) {
    return Collect(connection, cookie, xcb_query_tree_reply);
}

ReplyPtr<xcb_get_property_reply_t> CollectProperty(xcb_connection_t* connection,
                                                   xcb_get_property_cookie_t cookie) {
    return Collect(connection, cookie, xcb_get_property_reply);
}

std::vector<Window> ChildrenOf(const xcb_query_tree_reply_t& tree) {
    const xcb_window_t* children = xcb_query_tree_children(&tree);
    return {children, children + xcb_query_tree_children_length(&tree)};
}

// Whether a window carries a property, asked without its value.
xcb_get_property_cookie_t AskHasProperty(xcb_connection_t* connection, Window window, Atom atom) {
    return xcb_get_property(connection, 0, static_cast<xcb_window_t>(window),
                            static_cast<xcb_atom_t>(atom), XCB_GET_PROPERTY_TYPE_ANY, 0, 0);
}

bool Carries(const xcb_get_property_reply_t* reply) {
    return reply && reply->type != XCB_NONE;
}

std::optional<PropertyValue> ToValue(const xcb_get_property_reply_t* reply) {
    if (!reply || reply->type == XCB_NONE)
        return std::nullopt;
    PropertyValue value;
    value.type = reply->type;
    value.format = reply->format;
    if (reply->format == 8) {
        const auto* data = static_cast<const char*>(xcb_get_property_value(reply));
        value.bytes.assign(data, static_cast<std::size_t>(xcb_get_property_value_length(reply)));
        // Half a character would turn UTF-8 in a STRING into Latin-1.
        if (reply->bytes_after > 0)
            value.bytes.resize(LengthWithoutSplitUtf8Tail(value.bytes));
    }
    return value;
}

// The frame each client the window manager lists sits in: its ancestor
// that is a child of the root. The first step, the client's own parent, was
// asked by the caller; deeper nesting costs one round trip per level.
std::unordered_map<Window, std::vector<Window>>
FramesOfClients(xcb_connection_t* connection, Window root, const std::vector<Window>& frames,
                std::vector<std::pair<Window, Window>> climbing /* client, parent */) {
    const std::unordered_set<Window> rootChildren(frames.begin(), frames.end());
    std::unordered_map<Window, std::vector<Window>> framesToClients;
    for (int depth = 0; depth < kMaxDepth && !climbing.empty(); ++depth) {
        std::vector<std::pair<Window, Window>> asked;
        std::vector<xcb_query_tree_cookie_t> asks;
        for (const auto& [client, current] : climbing) {
            if (current == root) {
                framesToClients[client].push_back(client);
            } else if (rootChildren.contains(current)) {
                framesToClients[current].push_back(client);
            } else {
                asks.push_back(xcb_query_tree(connection, static_cast<xcb_window_t>(current)));
                asked.emplace_back(client, current);
            }
        }
        climbing.clear();
        for (std::size_t k = 0; k < asked.size(); ++k) {
            const auto tree = CollectTree(connection, asks[k]);
            if (tree && tree->parent != XCB_NONE)
                climbing.emplace_back(asked[k].first, tree->parent);
        }
    }
    return framesToClients;
}

xcb_get_property_cookie_t AskName(xcb_connection_t* connection, Window window, Atom name) {
    return xcb_get_property(connection, 0, static_cast<xcb_window_t>(window),
                            static_cast<xcb_atom_t>(name), XCB_GET_PROPERTY_TYPE_ANY, 0,
                            kNameUnits);
}

// The one-by-one search for the window carrying WM_STATE below a frame,
// breadth first, done for many frames at once: each round asks about one
// level of every frame still searched.
void SearchClients(xcb_connection_t* connection, const WalkAtoms& atoms,
                   const std::vector<Window>& frames, std::vector<Window>& clients) {
    struct Search {
        std::size_t slot;
        std::vector<Window> level;
        std::size_t searched = 0;
        bool done = false;
    };
    std::vector<Search> searches;
    for (std::size_t slot = 0; slot < frames.size(); ++slot)
        searches.push_back({slot, {frames[slot]}});

    for (int depth = 0; depth < kMaxDepth; ++depth) {
        struct Ask {
            xcb_get_property_cookie_t state;
            xcb_query_tree_cookie_t tree;
        };
        std::vector<std::vector<Ask>> asks(searches.size());
        bool any = false;
        for (std::size_t i = 0; i < searches.size(); ++i) {
            Search& search = searches[i];
            if (search.done)
                continue;
            const std::size_t take =
                std::min(search.level.size(), kMaxWindowsSearchedPerFrame - search.searched);
            for (std::size_t k = 0; k < take; ++k) {
                asks[i].push_back({AskHasProperty(connection, search.level[k], atoms.wmState),
                                   xcb_query_tree(connection, search.level[k])});
                any = true;
            }
        }
        if (!any)
            break;
        for (std::size_t i = 0; i < searches.size(); ++i) {
            Search& search = searches[i];
            if (search.done)
                continue;
            std::vector<Window> nextLevel;
            std::optional<Window> found;
            bool frameGone = false;
            for (std::size_t k = 0; k < asks[i].size(); ++k) {
                const bool carries = Carries(CollectProperty(connection, asks[i][k].state).get());
                const auto tree = CollectTree(connection, asks[i][k].tree);
                if (found)
                    continue;
                if (carries) {
                    found = search.level[k];
                } else if (tree) {
                    const auto children = ChildrenOf(*tree);
                    nextLevel.insert(nextLevel.end(), children.begin(), children.end());
                } else if (depth == 0) {
                    frameGone = true;
                }
            }
            search.searched += asks[i].size();
            if (found || frameGone) {
                clients[search.slot] = found.value_or(None);
                search.done = true;
            } else if (nextLevel.empty() || search.searched >= kMaxWindowsSearchedPerFrame) {
                clients[search.slot] = frames[search.slot]; // the frame stands for itself
                search.done = true;
            } else {
                search.level = std::move(nextLevel);
            }
        }
    }
    // A window whose own children nest deeper than any frame does stands
    // for itself, as one whose search finds no client does.
    for (const Search& search : searches) {
        if (!search.done)
            clients[search.slot] = frames[search.slot];
    }
}

// Round 1: the root's children, topmost first, the clients the window
// manager lists, its stacking of them and its check window. nullopt when
// the root cannot be read.
struct RootLevel {
    std::vector<Window> frames;
    std::vector<Window> listed;
    std::vector<Window> stacking; // bottom-most first
    Window wmCheck = None;
};

std::vector<Window> WindowsOf(const xcb_get_property_reply_t* reply) {
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_WINDOW)
        return {};
    const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
    return {ids, ids + xcb_get_property_value_length(reply) / 4};
}

xcb_get_property_cookie_t AskWindows(xcb_connection_t* connection, Window window, Atom atom) {
    return xcb_get_property(connection, 0, static_cast<xcb_window_t>(window),
                            static_cast<xcb_atom_t>(atom), XCB_ATOM_WINDOW, 0, kClientListUnits);
}

std::optional<RootLevel> ReadRootLevel(xcb_connection_t* connection, Window root,
                                       const WalkAtoms& atoms) {
    const auto rootTreeCookie = xcb_query_tree(connection, static_cast<xcb_window_t>(root));
    const auto clientListCookie = AskWindows(connection, root, atoms.netClientList);
    const auto stackingCookie = AskWindows(connection, root, atoms.netClientListStacking);
    const auto checkCookie = AskWindows(connection, root, atoms.netSupportingWmCheck);
    const auto rootTree = CollectTree(connection, rootTreeCookie);
    const auto clientList = CollectProperty(connection, clientListCookie);
    const auto stacking = CollectProperty(connection, stackingCookie);
    const auto check = CollectProperty(connection, checkCookie);
    if (!rootTree)
        return std::nullopt;
    RootLevel level;
    level.frames = ChildrenOf(*rootTree);
    std::reverse(level.frames.begin(), level.frames.end()); // topmost first
    level.listed = WindowsOf(clientList.get());
    level.stacking = WindowsOf(stacking.get());
    const auto checks = WindowsOf(check.get());
    level.wmCheck = checks.empty() ? None : checks.front();
    return level;
}

// Round 2 where the window manager publishes its stacking: the windows it
// manages, topmost first, with their _NET_WM_NAME where names are wanted.
// A window manager that has gone leaves its lists behind: they count only
// while its check window still names itself. nullopt when they do not.
// A listed window that has gone, or is no longer managed (no WM_STATE),
// is left out.
struct Managed {
    std::vector<Window> windows;
    std::unordered_map<Window, std::optional<PropertyValue>> netWmNames;
};

std::optional<Managed> ReadManaged(xcb_connection_t* connection, const WalkAtoms& atoms,
                                   const RootLevel& level, bool withNames) {
    if (level.stacking.empty() || level.wmCheck == None)
        return std::nullopt;
    const auto checkCookie = AskWindows(connection, level.wmCheck, atoms.netSupportingWmCheck);
    struct Ask {
        xcb_get_property_cookie_t state;
        std::optional<xcb_get_property_cookie_t> netWmName;
    };
    std::vector<Ask> asks;
    for (auto it = level.stacking.rbegin(); it != level.stacking.rend(); ++it) {
        asks.push_back({AskHasProperty(connection, *it, atoms.wmState), std::nullopt});
        if (withNames)
            asks.back().netWmName = AskName(connection, *it, atoms.netWmName);
    }
    const auto check = WindowsOf(CollectProperty(connection, checkCookie).get());
    Managed managed;
    for (std::size_t i = 0; i < asks.size(); ++i) {
        const Window window = level.stacking[level.stacking.size() - 1 - i];
        const bool carries = Carries(CollectProperty(connection, asks[i].state).get());
        std::optional<PropertyValue> name;
        if (asks[i].netWmName)
            name = ToValue(CollectProperty(connection, *asks[i].netWmName).get());
        if (!carries)
            continue;
        managed.windows.push_back(window);
        if (withNames)
            managed.netWmNames[window] = std::move(name);
    }
    if (check.empty() || check.front() != level.wmCheck)
        return std::nullopt;
    return managed;
}

// Round 2: each listed client's parent, and with names its _NET_WM_NAME
// along with it, which saves the last round asking for it again.
struct ListedClients {
    std::vector<std::pair<Window, Window>> parents; // client, parent
    std::unordered_map<Window, std::optional<PropertyValue>> netWmNames;
};

ListedClients ReadListedClients(xcb_connection_t* connection, const WalkAtoms& atoms,
                                const std::vector<Window>& listed, bool withNames) {
    std::vector<xcb_query_tree_cookie_t> parentAsks;
    std::vector<xcb_get_property_cookie_t> nameAsks;
    for (const Window client : listed) {
        parentAsks.push_back(xcb_query_tree(connection, static_cast<xcb_window_t>(client)));
        if (withNames)
            nameAsks.push_back(AskName(connection, client, atoms.netWmName));
    }
    ListedClients read;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const auto tree = CollectTree(connection, parentAsks[i]);
        if (withNames)
            read.netWmNames[listed[i]] = ToValue(CollectProperty(connection, nameAsks[i]).get());
        if (tree)
            read.parents.emplace_back(listed[i], tree->parent);
    }
    return read;
}

// The client standing for each frame, in the frames' order, vanished ones
// left out. A frame holds one client: where the window manager lists
// exactly one below it, that is the window the search below the frame
// would find. Every other top-level window is searched level by level.
std::vector<Window> ClientsOfFrames(xcb_connection_t* connection, Window root,
                                    const WalkAtoms& atoms, const std::vector<Window>& frames,
                                    std::vector<std::pair<Window, Window>> listedParents) {
    const auto framesToClients =
        FramesOfClients(connection, root, frames, std::move(listedParents));
    std::vector<Window> clients(frames.size(), None);
    std::vector<Window> unresolved;
    std::vector<std::size_t> unresolvedSlots;
    for (std::size_t slot = 0; slot < frames.size(); ++slot) {
        const auto found = framesToClients.find(frames[slot]);
        if (found != framesToClients.end() && found->second.size() == 1) {
            clients[slot] = found->second.front();
        } else {
            unresolved.push_back(frames[slot]);
            unresolvedSlots.push_back(slot);
        }
    }
    std::vector<Window> searched(unresolved.size(), None);
    SearchClients(connection, atoms, unresolved, searched);
    for (std::size_t i = 0; i < unresolved.size(); ++i)
        clients[unresolvedSlots[i]] = searched[i];
    std::erase(clients, static_cast<Window>(None));
    return clients;
}

// Last round: the name properties of each window. _NET_WM_NAME where round
// 2 did not read it, and WM_NAME where _NET_WM_NAME is no UTF-8 title.
std::vector<NameProperties>
ReadNames(xcb_connection_t* connection, const WalkAtoms& atoms, const std::vector<Window>& windows,
          const std::unordered_map<Window, std::optional<PropertyValue>>& netWmNames) {
    std::vector<NameProperties> names(windows.size());
    struct Ask {
        std::size_t index;
        std::optional<xcb_get_property_cookie_t> netWmName;
        xcb_get_property_cookie_t wmName;
    };
    std::vector<Ask> asks;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const Window window = windows[i];
        const auto known = netWmNames.find(window);
        if (known != netWmNames.end()) {
            names[i].netWmName = known->second;
            const auto& name = known->second;
            if (name && name->type == atoms.utf8String && !name->bytes.empty())
                continue;
        }
        std::optional<xcb_get_property_cookie_t> netWmName;
        if (known == netWmNames.end())
            netWmName = AskName(connection, window, atoms.netWmName);
        asks.push_back({i, netWmName, AskName(connection, window, XCB_ATOM_WM_NAME)});
    }
    for (const Ask& ask : asks) {
        if (ask.netWmName)
            names[ask.index].netWmName = ToValue(CollectProperty(connection, *ask.netWmName).get());
        names[ask.index].wmName = ToValue(CollectProperty(connection, ask.wmName).get());
    }
    return names;
}

} // namespace

NamesAndClassAsked AskNamesAndClass(Display* display, Window window, const WalkAtoms& atoms) {
    xcb_connection_t* connection = XGetXCBConnection(display);
    return {AskName(connection, window, atoms.netWmName).sequence,
            AskName(connection, window, XCB_ATOM_WM_NAME).sequence,
            AskName(connection, window, XCB_ATOM_WM_CLASS).sequence};
}

NamesAndClass CollectNamesAndClass(Display* display, const NamesAndClassAsked& asked) {
    xcb_connection_t* connection = XGetXCBConnection(display);
    NamesAndClass read;
    read.names.netWmName = ToValue(CollectProperty(connection, {asked.netWmName}).get());
    read.names.wmName = ToValue(CollectProperty(connection, {asked.wmName}).get());
    read.wmClass = ToValue(CollectProperty(connection, {asked.wmClass}).get());
    return read;
}

void DiscardNamesAndClass(Display* display, const NamesAndClassAsked& asked) {
    xcb_connection_t* connection = XGetXCBConnection(display);
    for (const unsigned sequence : {asked.netWmName, asked.wmName, asked.wmClass})
        xcb_discard_reply(connection, sequence);
}

NamesAndClass ReadNamesAndClass(Display* display, Window window, const WalkAtoms& atoms) {
    return CollectNamesAndClass(display, AskNamesAndClass(display, window, atoms));
}

TopLevelWalk WalkTopLevelWindows(Display* display, Window root, const WalkAtoms& atoms,
                                 bool withNames) {
    xcb_connection_t* connection = XGetXCBConnection(display);
    // Xlib may still hold requests of its own; send them first.
    XFlush(display);

    const auto rootLevel = ReadRootLevel(connection, root, atoms);
    if (!rootLevel)
        return {};
    TopLevelWalk walk;
    if (auto managed = ReadManaged(connection, atoms, *rootLevel, withNames)) {
        walk.windows = std::move(managed->windows);
        if (withNames)
            walk.names = ReadNames(connection, atoms, walk.windows, managed->netWmNames);
        return walk;
    }
    ListedClients listed = ReadListedClients(connection, atoms, rootLevel->listed, withNames);
    walk.windows =
        ClientsOfFrames(connection, root, atoms, rootLevel->frames, std::move(listed.parents));
    if (withNames)
        walk.names = ReadNames(connection, atoms, walk.windows, listed.netWmNames);
    return walk;
}

} // namespace huegrab::x11
