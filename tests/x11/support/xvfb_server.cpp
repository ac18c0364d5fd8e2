// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/x11/support/xvfb_server.h"

#include "tests/x11/support/test_client.h"
#include "tests/x11/support/x_connection.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace huegrab::xtest {
namespace {

// Xvfb writes the display number and a newline to the -displayfd pipe once
// it accepts connections.
std::optional<std::string> ReadDisplayNumber(int fd, std::chrono::milliseconds timeout) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd readable{fd, POLLIN, 0};
        const int ready = poll(&readable, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return std::nullopt;
        char buffer[32];
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0)
            return std::nullopt; // the server exited
        text.append(buffer, static_cast<std::size_t>(count));
    }
    return text.substr(0, text.find('\n'));
}

} // namespace

std::unique_ptr<XvfbServer> XvfbServer::Start(const ServerOptions& options) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return nullptr;
    const std::string screen = std::to_string(options.width) + "x" +
                               std::to_string(options.height) + "x" + std::to_string(options.depth);
    ChildOptions childOptions;
    childOptions.inheritFd = fds[1];
    childOptions.quiet = true; // xkbcomp warnings on every start
    std::vector<std::string> argv = {"Xvfb",     "-displayfd", std::to_string(fds[1]),
                                     "-screen",  "0",          screen,
                                     "-noreset", "-nolisten",  "tcp"};
    argv.insert(argv.end(), options.extraArguments.begin(), options.extraArguments.end());
    auto server = ChildProcess::Start(argv, childOptions);
    close(fds[1]);
    if (!server) {
        close(fds[0]);
        std::fprintf(stderr, "xtest: cannot start Xvfb\n");
        return nullptr;
    }
    const auto number = ReadDisplayNumber(fds[0], 20000ms);
    close(fds[0]);
    if (!number || number->empty()) {
        std::fprintf(stderr, "xtest: Xvfb did not report a display\n");
        return nullptr;
    }
    std::unique_ptr<XvfbServer> result(new XvfbServer(options, std::move(*server), ":" + *number));
    if (options.windowManager && !result->StartWindowManager()) {
        std::fprintf(stderr, "xtest: openbox did not come up on %s\n",
                     result->displayName_.c_str());
        return nullptr;
    }
    return result;
}

XvfbServer::XvfbServer(ServerOptions options, ChildProcess server, std::string displayName)
    : options_(options), server_(std::move(server)), displayName_(std::move(displayName)) {}

XvfbServer::~XvfbServer() {
    // The window manager first: it would report the lost server otherwise.
    windowManager_.reset();
    server_.Terminate();
}

EnvironmentVars XvfbServer::Environment(const EnvironmentVars& extra) const {
    // X11 also when the tests run inside a Wayland session: huegrab-cli
    // would read that session's screen through its portal otherwise.
    EnvironmentVars environment{{"DISPLAY", displayName_}, {"HUEGRAB_DESKTOP", "x11"}};
    environment.insert(environment.end(), extra.begin(), extra.end());
    return environment;
}

CommandResult XvfbServer::Run(const std::vector<std::string>& argv, CommandOptions options) const {
    options.environment = Environment(options.environment);
    return RunCommand(argv, options);
}

std::optional<ChildProcess> XvfbServer::Launch(const std::vector<std::string>& argv,
                                               ChildOptions options) const {
    options.environment = Environment(options.environment);
    return ChildProcess::Start(argv, options);
}

bool XvfbServer::StartWindowManager() {
    if (windowManager_)
        return true;
    ChildOptions options;
    options.quiet = true;
    windowManager_ = Launch({"openbox", "--sm-disable"}, options);
    if (!windowManager_)
        return false;
    auto probe = TestClient::Connect(displayName_);
    if (!probe)
        return false;
    // openbox announces itself (_NET_SUPPORTING_WM_CHECK) before it handles
    // map requests, and drops those that come too early. It manages once a
    // window mapped after the announcement gets framed and shown.
    bool managing = WaitUntil([&] { return WindowManagerRunning(probe->Connection()); }, 10000ms);
    for (int attempt = 0; managing && attempt < 20; ++attempt) {
        TestWindowSetup setup;
        setup.map = false;
        const XId window = probe->CreateWindow(setup);
        probe->MapWindow(window);
        const bool framed =
            probe->WaitViewable(window, 500ms) && probe->Parent(window) != probe->Root();
        probe->DestroyWindow(window);
        if (framed)
            return true;
    }
    windowManager_.reset();
    return false;
}

std::optional<RunningClient> LaunchXmessage(const XvfbServer& server, const std::string& title,
                                            int x, int y) {
    ChildOptions options;
    options.quiet = true; // a missing font set is reported on every start
    auto process =
        server.Launch({"xmessage", "-title", title, "-geometry",
                       "+" + std::to_string(x) + "+" + std::to_string(y), "xmessage for a test"},
                      options);
    if (!process)
        return std::nullopt;
    const auto found =
        server.Run({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^" + title + "$"});
    if (found.exitCode != 0 || found.output.empty())
        return std::nullopt;
    return RunningClient{std::move(*process), std::stoul(found.output)};
}

} // namespace huegrab::xtest
