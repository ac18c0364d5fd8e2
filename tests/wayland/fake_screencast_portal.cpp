// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/wayland/fake_screencast_portal.h"

#include <csignal>
#include <cstdlib>
#include <future>
#include <gio/gunixfdlist.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <unistd.h>

namespace huegrab::wayland::test {
namespace {

constexpr const char* kIntrospection = R"(<node>
  <interface name="org.freedesktop.portal.ScreenCast">
    <method name="CreateSession">
      <arg type="a{sv}" direction="in"/><arg type="o" direction="out"/>
    </method>
    <method name="SelectSources">
      <arg type="o" direction="in"/><arg type="a{sv}" direction="in"/>
      <arg type="o" direction="out"/>
    </method>
    <method name="Start">
      <arg type="o" direction="in"/><arg type="s" direction="in"/>
      <arg type="a{sv}" direction="in"/><arg type="o" direction="out"/>
    </method>
    <method name="OpenPipeWireRemote">
      <arg type="o" direction="in"/><arg type="a{sv}" direction="in"/>
      <arg type="h" direction="out"/>
    </method>
    <property name="version" type="u" access="read"/>
    <property name="AvailableSourceTypes" type="u" access="read"/>
    <property name="AvailableCursorModes" type="u" access="read"/>
  </interface>
</node>)";

struct NodeInfoUnref {
    void operator()(GDBusNodeInfo* info) const { g_dbus_node_info_unref(info); }
};
struct SubprocessEnd {
    void operator()(GSubprocess* process) const {
        g_subprocess_force_exit(process);
        g_object_unref(process);
    }
};

// The bus daemon, ended with the process (or by its parent-death signal).
std::unique_ptr<GSubprocess, SubprocessEnd> daemon;

std::string Text(GVariant* options, const char* key) {
    const gchar* value = "";
    g_variant_lookup(options, key, "&s", &value);
    return value;
}

std::string ObjectPath(const gchar* sender, const char* kind, const std::string& token) {
    std::string name(sender + 1);
    for (char& c : name) {
        if (c == '.')
            c = '_';
    }
    return std::string("/org/freedesktop/portal/desktop/") + kind + "/" + name + "/" + token;
}

} // namespace

const std::string& PrivateSessionBus() {
    static const std::string address = [] {
        // A bus of its own kind: no services to start on demand, so that no
        // real portal of the machine answers in place of the fake.
        static char config[] = "/tmp/huegrab-bus-XXXXXX";
        const int file = mkstemp(config);
        const std::string text = "<busconfig><type>session</type>"
                                 "<listen>unix:tmpdir=/tmp</listen><policy context=\"default\">"
                                 "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                                 "<allow own=\"*\"/>"
                                 "</policy></busconfig>";
        if (file < 0 || write(file, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            throw std::runtime_error("cannot write the bus configuration");
        close(file);
        const std::string configArgument = std::string("--config-file=") + config;
        // The daemon ends with this process, however it ends.
        const std::unique_ptr<GSubprocessLauncher, GObjectUnref> launcher(
            g_subprocess_launcher_new(G_SUBPROCESS_FLAGS_STDOUT_PIPE));
        g_subprocess_launcher_set_child_setup(
            launcher.get(), [](gpointer) { prctl(PR_SET_PDEATHSIG, SIGTERM); }, nullptr, nullptr);
        GError* rawError = nullptr;
        daemon.reset(g_subprocess_launcher_spawn(launcher.get(), &rawError, "dbus-daemon",
                                                 configArgument.c_str(), "--nofork",
                                                 "--print-address=1", nullptr));
        const ErrorPtr error(rawError);
        if (!daemon)
            throw std::runtime_error(std::string("dbus-daemon: ") + error->message);
        std::string line;
        char c = 0;
        GInputStream* out = g_subprocess_get_stdout_pipe(daemon.get());
        while (g_input_stream_read(out, &c, 1, nullptr, nullptr) == 1 && c != '\n')
            line += c;
        setenv("DBUS_SESSION_BUS_ADDRESS", line.c_str(), 1);
        // The daemon has read its configuration once it has an address.
        unlink(config);
        return line;
    }();
    return address;
}

FakeScreenCastPortal::FakeScreenCastPortal(FakeScreenCastSetup setup)
    : setup_(std::move(setup)), context_(g_main_context_new()),
      loop_(g_main_loop_new(context_.get(), FALSE)) {
    if (pipe(pipe_) != 0)
        throw std::runtime_error("pipe");
    // Started here, not on the fake's thread: the daemon gets its end
    // signal when the thread that started it ends.
    const std::string& address = PrivateSessionBus();
    std::promise<void> ready;
    thread_ = std::thread([this, &ready, &address] {
        const ThreadDefaultContext useContext(context_.get());
        GError* rawError = nullptr;
        bus_.reset(g_dbus_connection_new_for_address_sync(
            address.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, &rawError));
        const ErrorPtr error(rawError);
        if (!bus_) {
            ready.set_value();
            return;
        }
        g_dbus_connection_add_filter(bus_.get(), Filter, this, nullptr);
        const std::unique_ptr<GDBusNodeInfo, NodeInfoUnref> node(
            g_dbus_node_info_new_for_xml(kIntrospection, nullptr));
        static const GDBusInterfaceVTable vtable = {OnMethod, OnProperty, nullptr, {}};
        registration_ =
            g_dbus_connection_register_object(bus_.get(), "/org/freedesktop/portal/desktop",
                                              node->interfaces[0], &vtable, this, nullptr, nullptr);
        // The fake before this one may still hold the name for a moment.
        for (int tries = 0; tries < 100; ++tries) {
            const VariantPtr owned(g_dbus_connection_call_sync(
                bus_.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                "RequestName",
                g_variant_new("(su)", "org.freedesktop.portal.Desktop", 4u /* no queue */),
                G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr));
            guint32 result = 0;
            if (owned)
                g_variant_get(owned.get(), "(u)", &result);
            if (result == 1) // primary owner
                break;
            g_usleep(10000);
        }
        ready.set_value();
        g_main_loop_run(loop_.get());
        g_dbus_connection_unregister_object(bus_.get(), registration_);
        g_dbus_connection_close_sync(bus_.get(), nullptr, nullptr);
        bus_.reset();
    });
    ready.get_future().wait();
}

FakeScreenCastPortal::~FakeScreenCastPortal() {
    g_main_context_invoke(
        context_.get(),
        [](gpointer loop) {
            g_main_loop_quit(static_cast<GMainLoop*>(loop));
            return G_SOURCE_REMOVE;
        },
        loop_.get());
    thread_.join();
    close(pipe_[0]);
    close(pipe_[1]);
}

std::vector<FakeScreenCastPortal::Call> FakeScreenCastPortal::CallsOf(const std::string& method) {
    const std::lock_guard lock(mutex_);
    std::vector<Call> found;
    for (const auto& [member, call] : calls_) {
        if (member == method)
            found.push_back(call);
    }
    return found;
}

GDBusMessage* FakeScreenCastPortal::Filter(GDBusConnection*, GDBusMessage* message,
                                           gboolean incoming, gpointer self) {
    if (incoming && g_dbus_message_get_message_type(message) == G_DBUS_MESSAGE_TYPE_METHOD_CALL) {
        auto* portal = static_cast<FakeScreenCastPortal*>(self);
        std::string interface =
            g_dbus_message_get_interface(message) ? g_dbus_message_get_interface(message) : "";
        constexpr std::string_view kPrefix = "org.freedesktop.portal.";
        if (interface.starts_with(kPrefix))
            interface.erase(0, kPrefix.size());
        GVariant* body = g_dbus_message_get_body(message);
        const std::lock_guard lock(portal->mutex_);
        portal->calls_.emplace_back(
            interface + "." + g_dbus_message_get_member(message),
            Call{g_dbus_message_get_path(message),
                 std::shared_ptr<GVariant>(body ? g_variant_ref(body) : nullptr, [](GVariant* v) {
                     if (v)
                         g_variant_unref(v);
                 })});
    }
    return message;
}

void FakeScreenCastPortal::OnMethod(GDBusConnection*, const gchar* sender, const gchar*,
                                    const gchar*, const gchar* method, GVariant* parameters,
                                    GDBusMethodInvocation* invocation, gpointer self) {
    static_cast<FakeScreenCastPortal*>(self)->Answer(sender, method, parameters, invocation);
}

GVariant* FakeScreenCastPortal::OnProperty(GDBusConnection*, const gchar*, const gchar*,
                                           const gchar*, const gchar* name, GError**,
                                           gpointer self) {
    const auto& setup = static_cast<FakeScreenCastPortal*>(self)->setup_;
    const std::string_view property(name);
    return g_variant_new_uint32(property == "version"                ? setup.version
                                : property == "AvailableSourceTypes" ? setup.sourceTypes
                                                                     : setup.cursorModes);
}

void FakeScreenCastPortal::Answer(const gchar* sender, const gchar* method, GVariant* parameters,
                                  GDBusMethodInvocation* invocation) {
    const std::string name(method);
    if (name == "OpenPipeWireRemote") {
        const std::unique_ptr<GUnixFDList, GObjectUnref> fds(g_unix_fd_list_new());
        g_unix_fd_list_append(fds.get(), pipe_[1], nullptr);
        g_dbus_method_invocation_return_value_with_unix_fd_list(invocation, g_variant_new("(h)", 0),
                                                                fds.get());
        return;
    }
    // The options are the last parameter of every request.
    const VariantPtr options(
        g_variant_get_child_value(parameters, g_variant_n_children(parameters) - 1));
    const std::string request = ObjectPath(sender, "request", Text(options.get(), "handle_token"));
    g_dbus_method_invocation_return_value(invocation, g_variant_new("(o)", request.c_str()));
    if (name == setup_.silent)
        return;

    GVariantBuilder results;
    g_variant_builder_init(&results, G_VARIANT_TYPE_VARDICT);
    if (name == "CreateSession") {
        const std::string session =
            ObjectPath(sender, "session", Text(options.get(), "session_handle_token"));
        g_variant_builder_add(&results, "{sv}", "session_handle",
                              g_variant_new_string(session.c_str()));
    } else if (name == "Start") {
        if (setup_.streams) {
            GVariantBuilder stream;
            g_variant_builder_init(&stream, G_VARIANT_TYPE_VARDICT);
            g_variant_builder_add(&stream, "{sv}", "position", g_variant_new("(ii)", -1280, 40));
            g_variant_builder_add(&stream, "{sv}", "size", g_variant_new("(ii)", 1280, 720));
            g_variant_builder_add(
                &results, "{sv}", "streams",
                g_variant_new_parsed("[(%u, %@a{sv})]", 42u, g_variant_builder_end(&stream)));
        }
        if (!setup_.restoreToken.empty())
            g_variant_builder_add(&results, "{sv}", "restore_token",
                                  g_variant_new_string(setup_.restoreToken.c_str()));
    }
    const auto code = setup_.codes.find(name);
    g_dbus_connection_emit_signal(
        bus_.get(), sender, request.c_str(), "org.freedesktop.portal.Request", "Response",
        g_variant_new("(ua{sv})", code == setup_.codes.end() ? 0u : code->second, &results),
        nullptr);
}

} // namespace huegrab::wayland::test
