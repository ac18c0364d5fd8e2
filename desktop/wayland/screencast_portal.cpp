// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/screencast_portal.h"

#include "desktop/wayland/portal_request.h"

#include <gio/gunixfdlist.h>
#include <string_view>
#include <unistd.h>
#include <utility>

namespace huegrab::wayland {
namespace {

constexpr const char* kScreenCastInterface = "org.freedesktop.portal.ScreenCast";
constexpr const char* kWhat = "the screencast portal";

// The interface's source types and cursor modes (bit masks).
constexpr std::uint32_t kSourceMonitor = 1;
constexpr std::uint32_t kCursorHidden = 1;
constexpr std::uint32_t kCursorMetadata = 4;
// Persist mode: keep the consent until the user revokes it.
constexpr std::uint32_t kPersistUntilRevoked = 2;
// The first version that knows persist_mode and restore_token.
constexpr std::uint32_t kRestoreVersion = 4;

std::uint32_t Property(GVariant* properties, const char* name) {
    guint32 value = 0;
    g_variant_lookup(properties, name, "u", &value);
    return value;
}

// The options every request starts with: its handle token.
void StartOptions(GVariantBuilder& options, const std::string& token) {
    g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
}

// Makes one request of the session and turns a refusal into a reason.
std::optional<PortalResponse> Ask(GDBusConnection* bus, const char* method, GVariant* parameters,
                                  const std::string& token, std::chrono::milliseconds timeout,
                                  std::string& whyNot) {
    std::optional<PortalResponse> response = CallPortalRequest(
        bus, kScreenCastInterface, method, parameters, token, timeout, kWhat, whyNot);
    if (!response)
        return std::nullopt;
    if (response->code == 1) {
        whyNot = "the screen share was refused";
        return std::nullopt;
    }
    if (response->code != 0) {
        whyNot = std::string(kWhat) + " could not " +
                 (std::string_view(method) == "Start"
                      ? "start the cast"
                      : "set up the cast (" + std::string(method) + " failed)");
        return std::nullopt;
    }
    return response;
}

ScreenCastStream ReadStream(GVariant* stream) {
    ScreenCastStream read;
    GVariant* properties = nullptr;
    g_variant_get(stream, "(u@a{sv})", &read.nodeId, &properties);
    const VariantPtr owner(properties);
    read.positionKnown =
        g_variant_lookup(properties, "position", "(ii)", &read.area.x, &read.area.y);
    read.sizeKnown =
        g_variant_lookup(properties, "size", "(ii)", &read.area.width, &read.area.height);
    return read;
}

} // namespace

ScreenCast::ScreenCast(std::shared_ptr<GDBusConnection> bus, std::string sessionPath)
    : bus_(std::move(bus)), sessionPath_(std::move(sessionPath)) {}

ScreenCast::ScreenCast(ScreenCast&& other) noexcept
    : bus_(std::move(other.bus_)), sessionPath_(std::exchange(other.sessionPath_, {})),
      pipeWireFd_(std::exchange(other.pipeWireFd_, -1)), streams_(std::move(other.streams_)),
      restoreToken_(std::move(other.restoreToken_)), cursorMetadata_(other.cursorMetadata_),
      persistMode_(other.persistMode_) {}

ScreenCast& ScreenCast::operator=(ScreenCast&& other) noexcept {
    if (this != &other) {
        Close();
        bus_ = std::move(other.bus_);
        sessionPath_ = std::exchange(other.sessionPath_, {});
        pipeWireFd_ = std::exchange(other.pipeWireFd_, -1);
        streams_ = std::move(other.streams_);
        restoreToken_ = std::move(other.restoreToken_);
        cursorMetadata_ = other.cursorMetadata_;
        persistMode_ = other.persistMode_;
    }
    return *this;
}

ScreenCast::~ScreenCast() {
    Close();
}

int ScreenCast::ReleasePipeWireFd() {
    return std::exchange(pipeWireFd_, -1);
}

void ScreenCast::Close() noexcept {
    if (pipeWireFd_ >= 0)
        close(std::exchange(pipeWireFd_, -1));
    if (bus_ && !sessionPath_.empty()) {
        // Ends the cast; the answer does not matter (the session may already
        // be gone, closed by the desktop).
        const VariantPtr closed(g_dbus_connection_call_sync(
            bus_.get(), kPortalName, sessionPath_.c_str(), "org.freedesktop.portal.Session",
            "Close", nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, kPortalCallTimeoutMs, nullptr,
            nullptr));
    }
    sessionPath_.clear();
    bus_.reset();
}

std::optional<ScreenCastPortal> ScreenCastPortal::Open(std::string& whyNot) {
    GError* rawError = nullptr;
    ConnectionPtr connection(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &rawError));
    ErrorPtr error(rawError);
    if (!connection) {
        whyNot = "no D-Bus session bus (" + ErrorMessage(error) + ")";
        return std::nullopt;
    }
    const std::shared_ptr<GDBusConnection> bus(std::move(connection));
    // Reading the interface's properties finds out whether the portal and
    // its screencast part are there, starting the portal if need be.
    rawError = nullptr;
    const VariantPtr reply(g_dbus_connection_call_sync(
        bus.get(), kPortalName, kPortalPath, "org.freedesktop.DBus.Properties", "GetAll",
        g_variant_new("(s)", kScreenCastInterface), G_VARIANT_TYPE("(a{sv})"),
        G_DBUS_CALL_FLAGS_NONE, kPortalCallTimeoutMs, nullptr, &rawError));
    error.reset(rawError);
    if (!reply) {
        whyNot = "no screencast portal on the session bus (" + ErrorMessage(error) +
                 "); install xdg-desktop-portal and the desktop's portal backend";
        return std::nullopt;
    }
    const VariantPtr properties(g_variant_get_child_value(reply.get(), 0));
    if ((Property(properties.get(), "AvailableSourceTypes") & kSourceMonitor) == 0) {
        whyNot = "the desktop's screencast portal casts no monitors";
        return std::nullopt;
    }
    return ScreenCastPortal(std::move(bus), Property(properties.get(), "version"),
                            Property(properties.get(), "AvailableCursorModes"));
}

bool ScreenCastPortal::OffersCursorMetadata() const {
    return (cursorModes_ & kCursorMetadata) != 0;
}

std::optional<ScreenCast> ScreenCastPortal::Start(const std::string& restoreToken,
                                                  std::chrono::milliseconds timeout,
                                                  std::string& whyNot) {
    GDBusConnection* bus = bus_.get();
    // The session's path is known before it exists: whatever happens from
    // here on, the session is closed again unless the cast is handed out.
    const std::string sessionToken = NewPortalToken();
    ScreenCast cast(bus_, PortalObjectPath(bus, "session", sessionToken));
    const char* session = cast.sessionPath_.c_str();

    std::string token = NewPortalToken();
    GVariantBuilder options;
    StartOptions(options, token);
    g_variant_builder_add(&options, "{sv}", "session_handle_token",
                          g_variant_new_string(sessionToken.c_str()));
    if (!Ask(bus, "CreateSession", g_variant_new("(a{sv})", &options), token, timeout, whyNot))
        return std::nullopt;

    token = NewPortalToken();
    StartOptions(options, token);
    g_variant_builder_add(&options, "{sv}", "types", g_variant_new_uint32(kSourceMonitor));
    g_variant_builder_add(&options, "{sv}", "multiple", g_variant_new_boolean(FALSE));
    cast.cursorMetadata_ = OffersCursorMetadata();
    if (cast.cursorMetadata_ || (cursorModes_ & kCursorHidden) != 0)
        g_variant_builder_add(
            &options, "{sv}", "cursor_mode",
            g_variant_new_uint32(cast.cursorMetadata_ ? kCursorMetadata : kCursorHidden));
    if (version_ >= kRestoreVersion) {
        g_variant_builder_add(&options, "{sv}", "persist_mode",
                              g_variant_new_uint32(kPersistUntilRevoked));
        if (!restoreToken.empty())
            g_variant_builder_add(&options, "{sv}", "restore_token",
                                  g_variant_new_string(restoreToken.c_str()));
    }
    if (!Ask(bus, "SelectSources", g_variant_new("(oa{sv})", session, &options), token, timeout,
             whyNot))
        return std::nullopt;

    token = NewPortalToken();
    StartOptions(options, token);
    const std::optional<PortalResponse> started = Ask(
        bus, "Start", g_variant_new("(osa{sv})", session, "", &options), token, timeout, whyNot);
    if (!started)
        return std::nullopt;
    GVariant* results = started->results.get();
    if (GVariant* streams =
            g_variant_lookup_value(results, "streams", G_VARIANT_TYPE("a(ua{sv})"))) {
        const VariantPtr owner(streams);
        for (gsize i = 0; i < g_variant_n_children(streams); ++i) {
            const VariantPtr stream(g_variant_get_child_value(streams, i));
            cast.streams_.push_back(ReadStream(stream.get()));
        }
    }
    if (cast.streams_.empty()) {
        whyNot = std::string(kWhat) + " started a cast without a stream";
        return std::nullopt;
    }
    const gchar* newToken = nullptr;
    if (g_variant_lookup(results, "restore_token", "&s", &newToken))
        cast.restoreToken_ = newToken;
    guint32 persistMode = 0;
    if (g_variant_lookup(results, "persist_mode", "u", &persistMode))
        cast.persistMode_ = persistMode;

    GVariantBuilder noOptions;
    g_variant_builder_init(&noOptions, G_VARIANT_TYPE_VARDICT);
    GUnixFDList* rawFds = nullptr;
    GError* rawError = nullptr;
    const VariantPtr remote(g_dbus_connection_call_with_unix_fd_list_sync(
        bus, kPortalName, kPortalPath, kScreenCastInterface, "OpenPipeWireRemote",
        g_variant_new("(oa{sv})", session, &noOptions), G_VARIANT_TYPE("(h)"),
        G_DBUS_CALL_FLAGS_NONE, kPortalCallTimeoutMs, nullptr, &rawFds, nullptr, &rawError));
    const std::unique_ptr<GUnixFDList, GObjectUnref> fds(rawFds);
    const ErrorPtr error(rawError);
    gint32 index = -1;
    if (remote)
        g_variant_get(remote.get(), "(h)", &index);
    rawError = nullptr;
    // A copy of the descriptor, which is the cast's own from here on.
    cast.pipeWireFd_ = (remote && fds) ? g_unix_fd_list_get(fds.get(), index, &rawError) : -1;
    const ErrorPtr fdError(rawError);
    if (cast.pipeWireFd_ < 0) {
        whyNot = std::string(kWhat) + " gave no PipeWire connection (" +
                 ErrorMessage(error ? error : fdError) + ")";
        return std::nullopt;
    }
    return cast;
}

} // namespace huegrab::wayland
