// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_event_masks.h"

#include <X11/Xlib-xcb.h>
#include <cstdint>
#include <cstdlib>

namespace huegrab::x11 {

std::optional<xcb_void_cookie_t> EventMasks::AskSelect(Window window, Interest interest,
                                                       long mask) {
    auto found = masks_.find(window);
    if (found == masks_.end()) {
        if (mask == 0)
            return std::nullopt;
        found = masks_.emplace(window, InterestMasks{}).first;
    }
    long& own = found->second[static_cast<std::size_t>(interest)];
    if (own == mask)
        return std::nullopt;
    own = mask;
    long all = 0;
    for (const long each : found->second)
        all |= each;
    if (all == 0)
        masks_.erase(found);
    // Checked, so that an error comes to this request's cookie rather than
    // to Xlib's error handler long after any trap has ended.
    const auto value = static_cast<std::uint32_t>(all);
    return xcb_change_window_attributes_checked(
        XGetXCBConnection(display_), static_cast<xcb_window_t>(window), XCB_CW_EVENT_MASK, &value);
}

void EventMasks::Select(Window window, Interest interest, long mask) {
    if (const auto sent = AskSelect(window, interest, mask))
        xcb_discard_reply(XGetXCBConnection(display_), sent->sequence);
}

bool EventMasks::Made(Window window, const std::optional<xcb_void_cookie_t>& asked) {
    if (!asked)
        return true;
    xcb_generic_error_t* error = xcb_request_check(XGetXCBConnection(display_), *asked);
    std::free(error);
    if (error != nullptr)
        Forget(window);
    return error == nullptr;
}

} // namespace huegrab::x11
