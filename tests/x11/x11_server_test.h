// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_event_loop.h"
#include "desktop/x11/x11_desktop.h"
#include "tests/x11/support/test_client.h"
#include "tests/x11/support/xvfb_server.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace huegrab {

// An event loop that only keeps the backend's "about to sleep" hook, for a
// test to run where the loop would.
struct IdleHookLoop final : DesktopEventLoop {
    void WatchReadable(int, std::function<void()>) override {}
    void BeforeSleeping(std::function<void()> idle) override { sleeping = std::move(idle); }
    std::function<void()> sleeping;
};

// A suite against one private X server, started once for the suite; each
// test gets a second client (the "other program") and our own backend.
template <int Width, int Height, bool WindowManager = false>
class X11ServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        xtest::ServerOptions options;
        options.width = Width;
        options.height = Height;
        options.windowManager = WindowManager;
        server_ = xtest::XvfbServer::Start(options);
    }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override {
        ASSERT_NE(server_, nullptr) << "the X server did not start";
        client_ = xtest::TestClient::Connect(server_->DisplayName());
        ASSERT_NE(client_, nullptr);
        // Our client may be given the ids of the windows of the one before.
        if (WindowManager) {
            ASSERT_TRUE(client_->WaitForWindowManager()) << "the window manager does not answer";
        }
        desktop_ = X11Desktop::Open(server_->DisplayName().c_str());
        ASSERT_NE(desktop_, nullptr);
    }
    void TearDown() override {
        desktop_.reset();
        client_.reset(); // its windows go with its connection
    }

    static int Xdotool(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "xdotool");
        return server_->Run(arguments).exitCode;
    }

    static inline std::unique_ptr<xtest::XvfbServer> server_;
    std::unique_ptr<xtest::TestClient> client_;
    std::unique_ptr<X11Desktop> desktop_;
};

} // namespace huegrab
