// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/wayland/glib_handles.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace huegrab::wayland::test {

// A private session bus (dbus-daemon) for the process: the portal code's
// shared connection goes to it. Started once, before the first connection.
const std::string& PrivateSessionBus();

// What the fake portal answers.
struct FakeScreenCastSetup {
    guint32 version = 4;
    guint32 sourceTypes = 1 | 2; // monitor, window
    guint32 cursorModes = 1 | 2 | 4;
    // Response codes per method (CreateSession, SelectSources, Start); 0
    // when not named. A method in `silent` never answers.
    std::map<std::string, guint32> codes;
    std::string silent;
    bool streams = true;
    std::string restoreToken = "token-2";
};

// An org.freedesktop.portal.Desktop with the ScreenCast interface on the
// private bus, answering from its own thread, and noting every method call
// it receives (also those to objects it does not have, such as
// Session.Close and Request.Close).
class FakeScreenCastPortal {
public:
    explicit FakeScreenCastPortal(FakeScreenCastSetup setup);
    ~FakeScreenCastPortal();
    FakeScreenCastPortal(const FakeScreenCastPortal&) = delete;
    FakeScreenCastPortal& operator=(const FakeScreenCastPortal&) = delete;

    struct Call {
        std::string path;
        std::shared_ptr<GVariant> body;
    };
    // The calls received so far of `method` ("Interface.Method", the
    // interface without "org.freedesktop.portal.").
    std::vector<Call> CallsOf(const std::string& method);
    // The read end of the pipe whose write end OpenPipeWireRemote hands out.
    int PipeWireReadEnd() const { return pipe_[0]; }

private:
    static GDBusMessage* Filter(GDBusConnection*, GDBusMessage* message, gboolean incoming,
                                gpointer self);
    static void OnMethod(GDBusConnection* bus, const gchar* sender, const gchar* path,
                         const gchar* interface, const gchar* method, GVariant* parameters,
                         GDBusMethodInvocation* invocation, gpointer self);
    static GVariant* OnProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                const gchar* name, GError**, gpointer self);
    void Answer(const gchar* sender, const gchar* method, GVariant* parameters,
                GDBusMethodInvocation* invocation);

    FakeScreenCastSetup setup_;
    struct LoopUnref {
        void operator()(GMainLoop* loop) const { g_main_loop_unref(loop); }
    };

    MainContextPtr context_;
    std::unique_ptr<GMainLoop, LoopUnref> loop_;
    ConnectionPtr bus_;
    guint registration_ = 0;
    int pipe_[2] = {-1, -1};
    std::mutex mutex_;
    std::vector<std::pair<std::string, Call>> calls_;
    std::thread thread_;
};

} // namespace huegrab::wayland::test
