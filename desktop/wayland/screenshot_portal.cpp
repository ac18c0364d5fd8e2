// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/screenshot_portal.h"

#include <string_view>
#include <unistd.h>

namespace huegrab::wayland {
namespace {

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kScreenshotInterface = "org.freedesktop.portal.Screenshot";
constexpr const char* kRequestInterface = "org.freedesktop.portal.Request";
constexpr int kCallTimeoutMs = 5000;

std::string Message(const ErrorPtr& error) {
    return error ? error->message : "no reason given";
}

// The object path the portal gives the request made with `token`, known
// before the call so that its answer cannot arrive unheard.
std::string RequestPath(std::string_view uniqueName, std::string_view token) {
    std::string sender(uniqueName.substr(uniqueName.starts_with(':') ? 1 : 0));
    for (char& c : sender) {
        if (c == '.')
            c = '_';
    }
    return std::string(kPortalPath) + "/request/" + sender + "/" + std::string(token);
}

// What the Response signal carried.
struct Response {
    bool arrived = false;
    guint32 code = 2;
    std::string uri;
};

void OnResponse(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                GVariant* parameters, gpointer data) {
    auto* response = static_cast<Response*>(data);
    GVariant* results = nullptr;
    g_variant_get(parameters, "(u@a{sv})", &response->code, &results);
    const VariantPtr resultsOwner(results);
    const gchar* uri = nullptr;
    if (g_variant_lookup(results, "uri", "&s", &uri))
        response->uri = uri;
    response->arrived = true;
}

gboolean OnTimeout(gpointer data) {
    *static_cast<bool*>(data) = true;
    return G_SOURCE_REMOVE;
}

// Unsubscribes the Response signal on every way out.
class Subscription {
public:
    Subscription(GDBusConnection* bus, guint id) : bus_(bus), id_(id) {}
    ~Subscription() { g_dbus_connection_signal_unsubscribe(bus_, id_); }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

private:
    GDBusConnection* bus_;
    guint id_;
};

} // namespace

std::optional<ScreenshotPortal> ScreenshotPortal::Open(std::string& whyNot) {
    GError* rawError = nullptr;
    ConnectionPtr bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &rawError));
    ErrorPtr error(rawError);
    if (!bus) {
        whyNot = "no D-Bus session bus (" + Message(error) + ")";
        return std::nullopt;
    }
    // Asking for the interface's version finds out whether the portal and
    // its screenshot part are there, starting the portal if need be.
    rawError = nullptr;
    const VariantPtr version(g_dbus_connection_call_sync(
        bus.get(), kPortalName, kPortalPath, "org.freedesktop.DBus.Properties", "Get",
        g_variant_new("(ss)", kScreenshotInterface, "version"), G_VARIANT_TYPE("(v)"),
        G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, nullptr, &rawError));
    error.reset(rawError);
    if (!version) {
        whyNot = "no screenshot portal on the session bus (" + Message(error) +
                 "); install xdg-desktop-portal and the desktop's portal backend";
        return std::nullopt;
    }
    return ScreenshotPortal(std::move(bus));
}

std::optional<std::string> ScreenshotPortal::Take(std::chrono::milliseconds timeout,
                                                  std::string& whyNot) {
    const std::string token =
        "huegrab" + std::to_string(getpid()) + "_" + std::to_string(++requests_);
    const std::string path = RequestPath(g_dbus_connection_get_unique_name(bus_.get()), token);

    // The answer comes as a signal on a private context: nothing else of
    // the process runs while this waits.
    const MainContextPtr context(g_main_context_new());
    const ThreadDefaultContext useContext(context.get());
    Response response;
    const Subscription subscription(
        bus_.get(),
        g_dbus_connection_signal_subscribe(bus_.get(), kPortalName, kRequestInterface, "Response",
                                           path.c_str(), nullptr, G_DBUS_SIGNAL_FLAGS_NO_MATCH_RULE,
                                           OnResponse, &response, nullptr));
    // NO_MATCH_RULE above: the rule is added here, and synchronously, so the
    // bus forwards the answer before the request is even made.
    const std::string rule = "type='signal',sender='" + std::string(kPortalName) + "',interface='" +
                             kRequestInterface + "',member='Response',path='" + path + "'";
    GError* rawError = nullptr;
    const VariantPtr added(g_dbus_connection_call_sync(
        bus_.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "AddMatch", g_variant_new("(s)", rule.c_str()), nullptr, G_DBUS_CALL_FLAGS_NONE,
        kCallTimeoutMs, nullptr, &rawError));
    ErrorPtr error(rawError);
    if (!added) {
        whyNot = "the session bus refused to pass on the portal's answer (" + Message(error) + ")";
        return std::nullopt;
    }

    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    g_variant_builder_add(&options, "{sv}", "interactive", g_variant_new_boolean(FALSE));
    rawError = nullptr;
    const VariantPtr handle(g_dbus_connection_call_sync(
        bus_.get(), kPortalName, kPortalPath, kScreenshotInterface, "Screenshot",
        g_variant_new("(sa{sv})", "", &options), G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE,
        kCallTimeoutMs, nullptr, &rawError));
    error.reset(rawError);
    if (!handle) {
        whyNot = "the screenshot portal refused (" + Message(error) + ")";
    } else {
        bool timedOut = false;
        const SourcePtr timer(g_timeout_source_new(static_cast<guint>(timeout.count())));
        g_source_set_callback(timer.get(), OnTimeout, &timedOut, nullptr);
        g_source_attach(timer.get(), context.get());
        while (!response.arrived && !timedOut)
            g_main_context_iteration(context.get(), TRUE);
        if (!response.arrived)
            whyNot = "the screenshot portal did not answer within " +
                     std::to_string(timeout.count() / 1000) + " s";
        else if (response.code == 1)
            whyNot = "the screenshot was refused";
        else if (response.code != 0)
            // The portal answers so also when its permission store says no.
            whyNot = "the screenshot portal gave no screenshot (not allowed, or it failed)";
    }
    const VariantPtr removed(g_dbus_connection_call_sync(
        bus_.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "RemoveMatch", g_variant_new("(s)", rule.c_str()), nullptr, G_DBUS_CALL_FLAGS_NONE,
        kCallTimeoutMs, nullptr, nullptr));
    if (!response.arrived || response.code != 0)
        return std::nullopt;

    const CharsPtr file(g_filename_from_uri(response.uri.c_str(), nullptr, nullptr));
    if (!file) {
        whyNot = "the screenshot portal answered with no local file (\"" + response.uri + "\")";
        return std::nullopt;
    }
    return std::string(file.get());
}

} // namespace huegrab::wayland
