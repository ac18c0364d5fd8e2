// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/portal_request.h"

#include <atomic>
#include <string_view>
#include <unistd.h>

namespace huegrab::wayland {
namespace {

constexpr const char* kRequestInterface = "org.freedesktop.portal.Request";

// What the Response signal carried.
struct Answer {
    bool arrived = false;
    PortalResponse response;
};

void OnResponse(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                GVariant* parameters, gpointer data) {
    auto* answer = static_cast<Answer*>(data);
    GVariant* results = nullptr;
    g_variant_get(parameters, "(u@a{sv})", &answer->response.code, &results);
    answer->response.results.reset(results);
    answer->arrived = true;
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

VariantPtr CallBus(GDBusConnection* bus, const char* method, const std::string& rule,
                   ErrorPtr& error) {
    GError* rawError = nullptr;
    VariantPtr reply(g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", method,
        g_variant_new("(s)", rule.c_str()), nullptr, G_DBUS_CALL_FLAGS_NONE, kPortalCallTimeoutMs,
        nullptr, &rawError));
    error.reset(rawError);
    return reply;
}

} // namespace

std::string NewPortalToken() {
    static std::atomic<unsigned> made{0};
    return "huegrab" + std::to_string(getpid()) + "_" + std::to_string(++made);
}

std::string PortalObjectPath(GDBusConnection* bus, const char* kind, const std::string& token) {
    const std::string_view uniqueName = g_dbus_connection_get_unique_name(bus);
    std::string sender(uniqueName.substr(uniqueName.starts_with(':') ? 1 : 0));
    for (char& c : sender) {
        if (c == '.')
            c = '_';
    }
    return std::string(kPortalPath) + "/" + kind + "/" + sender + "/" + token;
}

std::string ErrorMessage(const ErrorPtr& error) {
    return error ? error->message : "no reason given";
}

std::optional<PortalResponse> CallPortalRequest(GDBusConnection* bus, const char* interface,
                                                const char* method, GVariant* parameters,
                                                const std::string& token,
                                                std::chrono::milliseconds timeout,
                                                const std::string& what, std::string& whyNot) {
    // Owned here from the start, so that it is freed on the early ways out.
    const VariantPtr sinkParameters(g_variant_ref_sink(parameters));
    // The path is known before the call, so that the answer cannot arrive
    // unheard.
    const std::string path = PortalObjectPath(bus, "request", token);

    // The answer comes as a signal on a private context: nothing else of
    // the process runs while this waits.
    const MainContextPtr context(g_main_context_new());
    const ThreadDefaultContext useContext(context.get());
    Answer answer;
    const Subscription subscription(
        bus, g_dbus_connection_signal_subscribe(
                 bus, kPortalName, kRequestInterface, "Response", path.c_str(), nullptr,
                 G_DBUS_SIGNAL_FLAGS_NO_MATCH_RULE, OnResponse, &answer, nullptr));
    // NO_MATCH_RULE above: the rule is added here, and synchronously, so the
    // bus forwards the answer before the request is even made.
    const std::string rule = "type='signal',sender='" + std::string(kPortalName) + "',interface='" +
                             kRequestInterface + "',member='Response',path='" + path + "'";
    ErrorPtr error;
    if (!CallBus(bus, "AddMatch", rule, error)) {
        whyNot =
            "the session bus refused to pass on the portal's answer (" + ErrorMessage(error) + ")";
        return std::nullopt;
    }

    GError* rawError = nullptr;
    const VariantPtr handle(g_dbus_connection_call_sync(
        bus, kPortalName, kPortalPath, interface, method, sinkParameters.get(),
        G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE, kPortalCallTimeoutMs, nullptr, &rawError));
    error.reset(rawError);
    if (!handle) {
        whyNot = what + " refused (" + ErrorMessage(error) + ")";
    } else {
        bool timedOut = false;
        const SourcePtr timer(g_timeout_source_new(static_cast<guint>(timeout.count())));
        g_source_set_callback(timer.get(), OnTimeout, &timedOut, nullptr);
        g_source_attach(timer.get(), context.get());
        while (!answer.arrived && !timedOut)
            g_main_context_iteration(context.get(), TRUE);
        if (!answer.arrived) {
            whyNot =
                what + " did not answer within " + std::to_string(timeout.count() / 1000) + " s";
            // Withdraws the request, and with it any dialog still asking.
            const VariantPtr closed(g_dbus_connection_call_sync(
                bus, kPortalName, path.c_str(), kRequestInterface, "Close", nullptr, nullptr,
                G_DBUS_CALL_FLAGS_NONE, kPortalCallTimeoutMs, nullptr, nullptr));
        }
    }
    ErrorPtr ignored;
    CallBus(bus, "RemoveMatch", rule, ignored);
    if (!answer.arrived)
        return std::nullopt;
    return std::move(answer.response);
}

} // namespace huegrab::wayland
