// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/wayland/glib_handles.h"

#include <chrono>
#include <optional>
#include <string>

namespace huegrab::wayland {

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr int kPortalCallTimeoutMs = 5000;

// A token for a request or a session, unique within the process.
std::string NewPortalToken();

// The object path the portal gives the request or session made with
// `token` by the connection `bus`.
std::string PortalObjectPath(GDBusConnection* bus, const char* kind, const std::string& token);

// The portal's answer to a request: 0 granted, 1 refused by the user,
// 2 ended otherwise; `results` as the Response signal carried them.
struct PortalResponse {
    guint32 code = 2;
    VariantPtr results;
};

// Calls `method` of the portal's `interface` with `parameters` (a floating
// variant whose options hold "handle_token" = `token`) and waits up to
// `timeout` for the Response signal of the request it opens. nullopt, with
// a line for a person in `whyNot` naming `what` ("the screenshot portal"),
// when the call fails or no answer comes in time.
std::optional<PortalResponse> CallPortalRequest(GDBusConnection* bus, const char* interface,
                                                const char* method, GVariant* parameters,
                                                const std::string& token,
                                                std::chrono::milliseconds timeout,
                                                const std::string& what, std::string& whyNot);

// The message of a GLib error, or a stand-in when there is none.
std::string ErrorMessage(const ErrorPtr& error);

} // namespace huegrab::wayland
