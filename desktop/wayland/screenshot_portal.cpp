// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/screenshot_portal.h"

#include "desktop/wayland/portal_request.h"

namespace huegrab::wayland {
namespace {

constexpr const char* kScreenshotInterface = "org.freedesktop.portal.Screenshot";

} // namespace

std::optional<ScreenshotPortal> ScreenshotPortal::Open(std::string& whyNot) {
    GError* rawError = nullptr;
    ConnectionPtr bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &rawError));
    ErrorPtr error(rawError);
    if (!bus) {
        whyNot = "no D-Bus session bus (" + ErrorMessage(error) + ")";
        return std::nullopt;
    }
    // Asking for the interface's version finds out whether the portal and
    // its screenshot part are there, starting the portal if need be.
    rawError = nullptr;
    const VariantPtr version(g_dbus_connection_call_sync(
        bus.get(), kPortalName, kPortalPath, "org.freedesktop.DBus.Properties", "Get",
        g_variant_new("(ss)", kScreenshotInterface, "version"), G_VARIANT_TYPE("(v)"),
        G_DBUS_CALL_FLAGS_NONE, kPortalCallTimeoutMs, nullptr, &rawError));
    error.reset(rawError);
    if (!version) {
        whyNot = "no screenshot portal on the session bus (" + ErrorMessage(error) +
                 "); install xdg-desktop-portal and the desktop's portal backend";
        return std::nullopt;
    }
    return ScreenshotPortal(std::move(bus));
}

std::optional<std::string> ScreenshotPortal::Take(std::chrono::milliseconds timeout,
                                                  std::string& whyNot) {
    const std::string token = NewPortalToken();
    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    g_variant_builder_add(&options, "{sv}", "interactive", g_variant_new_boolean(FALSE));
    const std::optional<PortalResponse> response = CallPortalRequest(
        bus_.get(), kScreenshotInterface, "Screenshot", g_variant_new("(sa{sv})", "", &options),
        token, timeout, "the screenshot portal", whyNot);
    if (!response)
        return std::nullopt;
    if (response->code == 1) {
        whyNot = "the screenshot was refused";
        return std::nullopt;
    }
    if (response->code != 0) {
        // The portal answers so also when its permission store says no.
        whyNot = "the screenshot portal gave no screenshot (not allowed, or it failed)";
        return std::nullopt;
    }

    const gchar* uri = "";
    g_variant_lookup(response->results.get(), "uri", "&s", &uri);
    const CharsPtr file(g_filename_from_uri(uri, nullptr, nullptr));
    if (!file) {
        whyNot = "the screenshot portal answered with no local file (\"" + std::string(uri) + "\")";
        return std::nullopt;
    }
    return std::string(file.get());
}

} // namespace huegrab::wayland
