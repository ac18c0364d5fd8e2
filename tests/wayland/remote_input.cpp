// SPDX-License-Identifier: GPL-3.0-or-later
// Input for tests on headless GNOME, as a user would give it, through
// Mutter's remote-desktop interface (which shows no dialog). Mutter ties
// the session to the connection that made it, so this stays running and
// takes one command a line on stdin, answering each with "ok" or
// "error: …" once Mutter has taken it:
//
//   key KEYSYM     press and release a key (X keysym, e.g. 0xff0d Return)
//   move DX DY     move the pointer by DX, DY
//   to X Y         move it into the bottom right corner, then on to X, Y
//                  (not the top left one: GNOME's hot corner has a barrier
//                  there that at times held the next move's X back)
//   click [CODE]   press and release a button (evdev code; left: 272)
//
// "ready" first, once the session runs.
//
//   remote_input [WIDTH HEIGHT]    the screen's size, 1280 x 720 if not given
#include "desktop/wayland/glib_handles.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

namespace {

using namespace huegrab::wayland;

constexpr const char* kRemoteDesktop = "org.gnome.Mutter.RemoteDesktop";

class Session {
public:
    explicit Session(ConnectionPtr bus) : bus_(std::move(bus)) {}

    // Creates and starts the session; false, with the reason, when Mutter
    // will not.
    bool Start(std::string& whyNot) {
        const VariantPtr created = Call(nullptr, "/org/gnome/Mutter/RemoteDesktop", "CreateSession",
                                        nullptr, G_VARIANT_TYPE("(o)"), whyNot);
        if (!created)
            return false;
        const gchar* path = nullptr;
        g_variant_get(created.get(), "(&o)", &path);
        path_ = path;
        return Notify("Start", nullptr, whyNot);
    }

    bool Notify(const char* method, GVariant* parameters, std::string& whyNot) {
        return Call(".Session", path_.c_str(), method, parameters, nullptr, whyNot) != nullptr;
    }

private:
    VariantPtr Call(const char* suffix, const char* path, const char* method, GVariant* parameters,
                    const GVariantType* reply, std::string& whyNot) {
        const std::string interface = std::string(kRemoteDesktop) + (suffix ? suffix : "");
        GError* rawError = nullptr;
        VariantPtr result(g_dbus_connection_call_sync(
            bus_.get(), kRemoteDesktop, path, interface.c_str(), method, parameters, reply,
            G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, &rawError));
        const ErrorPtr error(rawError);
        if (!result)
            whyNot = std::string(method) + ": " + (error ? error->message : "failed");
        return result;
    }

    ConnectionPtr bus_;
    std::string path_;
};

struct ScreenSize {
    double width = 1280;
    double height = 720;
};

bool Run(Session& session, const ScreenSize& screen, const std::string& line, std::string& whyNot) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "key") {
        std::string keysym;
        words >> keysym;
        const auto code = static_cast<guint32>(std::stoul(keysym, nullptr, 0));
        return session.Notify("NotifyKeyboardKeysym", g_variant_new("(ub)", code, TRUE), whyNot) &&
               session.Notify("NotifyKeyboardKeysym", g_variant_new("(ub)", code, FALSE), whyNot);
    }
    if (command == "move" || command == "to") {
        double x = 0;
        double y = 0;
        if (!(words >> x >> y)) {
            whyNot = "usage: " + command + " X Y";
            return false;
        }
        // The screen's edges stop the pointer in the corner.
        if (command == "to") {
            if (!session.Notify("NotifyPointerMotionRelative", g_variant_new("(dd)", 1e5, 1e5),
                                whyNot))
                return false;
            x -= screen.width - 1;
            y -= screen.height - 1;
        }
        return session.Notify("NotifyPointerMotionRelative", g_variant_new("(dd)", x, y), whyNot);
    }
    if (command == "click") {
        gint32 code = 272;
        words >> code;
        return session.Notify("NotifyPointerButton", g_variant_new("(ib)", code, TRUE), whyNot) &&
               session.Notify("NotifyPointerButton", g_variant_new("(ib)", code, FALSE), whyNot);
    }
    whyNot = "unknown command: " + line;
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    ScreenSize screen;
    if (argc == 3) {
        screen.width = std::atof(argv[1]);
        screen.height = std::atof(argv[2]);
    }
    GError* rawError = nullptr;
    ConnectionPtr bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &rawError));
    const ErrorPtr error(rawError);
    if (!bus) {
        std::printf("error: no session bus: %s\n", error->message);
        return 1;
    }
    Session session(std::move(bus));
    std::string whyNot;
    if (!session.Start(whyNot)) {
        std::printf("error: %s\n", whyNot.c_str());
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
        whyNot.clear();
        bool done = false;
        try {
            done = Run(session, screen, line, whyNot);
        } catch (const std::exception&) {
            whyNot = "not a number in: " + line;
        }
        std::printf(done ? "ok\n" : "error: %s\n", whyNot.c_str());
        std::fflush(stdout);
    }
    return 0;
}
