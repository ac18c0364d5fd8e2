// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

// Test code includes GoogleTest, whose names clash with Xlib's macros
// (None, Bool), so these headers keep Xlib out.
struct _XDisplay;

namespace huegrab::xtest {

using namespace std::chrono_literals;

// An X resource id: a window, pixmap or atom.
using XId = unsigned long;

struct XConnectionCloser {
    void operator()(_XDisplay* display) const;
};
// A test's own client connection to the server.
using XConnection = std::unique_ptr<_XDisplay, XConnectionCloser>;

// nullptr when the display cannot be opened.
XConnection OpenConnection(const std::string& displayName);

// Polls `condition` every 10 ms until it holds or the timeout passes; the
// last answer.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5000ms);

// A window manager has set _NET_SUPPORTING_WM_CHECK on the root.
bool WindowManagerRunning(_XDisplay* display);

// The state of a keyboard indicator: "Caps Lock", "Num Lock", "Scroll Lock".
// nullopt when the server has no indicator of that name.
std::optional<bool> IndicatorOn(_XDisplay* display, const char* name);

} // namespace huegrab::xtest
