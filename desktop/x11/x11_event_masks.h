// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <X11/Xlib.h>
#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <xcb/xcb.h>

namespace huegrab::x11 {

// The events this connection selects on windows, kept apart by what wants
// them: the server keeps one mask per window and connection, so one part
// letting a window go must not take away what another part still selects.
class EventMasks {
public:
    enum class Interest : std::size_t { RootSize, DestroyWatch, NamesWatch, kCount };

    explicit EventMasks(Display* display) : display_(display) {}

    // Sets what `part` selects on `window` (0: nothing) and gives the server
    // the union of all parts. The error of a window gone is dropped.
    void Select(Window window, Interest interest, long mask);
    // The same in two halves, so that the answer can come with the reply of
    // a request sent after it: AskSelect sends (nothing when the union stays
    // as it was), Made takes the answer. A window gone refuses the
    // selection: Made then forgets it and says false.
    std::optional<xcb_void_cookie_t> AskSelect(Window window, Interest interest, long mask);
    bool Made(Window window, const std::optional<xcb_void_cookie_t>& asked);
    // The window was destroyed: its selections went with it.
    void Forget(Window window) { masks_.erase(window); }

private:
    using InterestMasks = std::array<long, static_cast<std::size_t>(Interest::kCount)>;

    Display* display_;
    std::map<Window, InterestMasks> masks_;
};

} // namespace huegrab::x11
