// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/x11/support/child_process.h"

#include <memory>
#include <string>
#include <vector>

namespace huegrab::xtest {

struct ServerOptions {
    int width = 640;
    int height = 480;
    int depth = 24;
    // Start openbox and wait until it manages the screen.
    bool windowManager = false;
    // More Xvfb options: "-extension", "XFIXES" leaves that extension out,
    // "-wr" makes the root white.
    std::vector<std::string> extraArguments = {};
};

// A private X server for one test program: Xvfb picks a free display
// number itself (-displayfd), so test programs run side by side without
// clashes. -noreset keeps the server, and the root colour set on it, when
// the last client leaves. The destructor stops the window manager and the
// server.
class XvfbServer {
public:
    // nullptr, with the reason on stderr, when Xvfb (or openbox) does not
    // come up.
    static std::unique_ptr<XvfbServer> Start(const ServerOptions& options = {});
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // The server process itself (a test may kill it to play a lost session).
    ChildProcess& ServerProcess() { return server_; }
    // ":N", for XOpenDisplay and $DISPLAY.
    const std::string& DisplayName() const { return displayName_; }
    const ServerOptions& Options() const { return options_; }
    // DISPLAY=:N and HUEGRAB_DESKTOP=x11 plus `extra`, for children.
    EnvironmentVars Environment(const EnvironmentVars& extra = {}) const;

    // A command against this server, to its end, stdout captured:
    // Run({"xdotool", "getmouselocation"}).
    CommandResult Run(const std::vector<std::string>& argv, CommandOptions options = {}) const;
    // A program against this server in the background (the program under
    // test, a second client).
    std::optional<ChildProcess> Launch(const std::vector<std::string>& argv,
                                       ChildOptions options = {}) const;

    // Starts openbox when it is not running yet; true once it manages.
    bool StartWindowManager();
    bool HasWindowManager() const { return windowManager_.has_value(); }

private:
    XvfbServer(ServerOptions options, ChildProcess server, std::string displayName);

    ServerOptions options_;
    ChildProcess server_;
    std::optional<ChildProcess> windowManager_;
    std::string displayName_;
};

// An ordinary client as users meet it: xmessage, whose window holds inner
// widget windows and, under a window manager, sits in a frame with a title
// bar. Its top-level window (the one carrying title and class) is shown.
struct RunningClient {
    ChildProcess process;
    unsigned long window = 0;
};
// nullopt when it does not come up. `title` must be unique on the server.
std::optional<RunningClient> LaunchXmessage(const XvfbServer& server, const std::string& title,
                                            int x, int y);

} // namespace huegrab::xtest
