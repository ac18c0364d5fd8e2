// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Replies to requests sent through the XCB connection under Xlib, so that
// several requests can go out before the first answer is awaited.
// Backend-internal.

#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace huegrab::x11 {

struct FreeDeleter {
    void operator()(void* memory) const { std::free(memory); }
};
template <typename T> using ReplyPtr = std::unique_ptr<T, FreeDeleter>;

// A reply, or nullptr when the request failed (a window that is gone); the
// error, if any, is freed here and never reaches Xlib's handler.
template <typename Reply, typename Cookie>
ReplyPtr<Reply> Collect(xcb_connection_t* connection, Cookie cookie,
                        Reply* (*fetch)(xcb_connection_t*, Cookie, xcb_generic_error_t**)) {
    xcb_generic_error_t* error = nullptr;
    ReplyPtr<Reply> reply(fetch(connection, cookie, &error));
    ReplyPtr<xcb_generic_error_t> errorOwner(error);
    return error ? nullptr : std::move(reply);
}

} // namespace huegrab::x11
