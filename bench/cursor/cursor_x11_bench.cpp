// SPDX-License-Identifier: GPL-3.0-or-later
// The whole cursor feature code against a private Xvfb: one XFixes read of
// a cursor-font cursor per code, and on a server without XFixes the 32 x 32
// screen copy.

#include "cursor/cursor_feature_code.h"
#include "desktop/x11/x11_desktop.h"
#include "tests/x11/support/test_client.h"
#include "tests/x11/support/xvfb_server.h"

#include <benchmark/benchmark.h>
#include <cstdio>

namespace huegrab {
namespace {

struct Server {
    std::unique_ptr<xtest::XvfbServer> server;
    std::unique_ptr<xtest::TestClient> client; // keeps the root cursor alive
    std::unique_ptr<X11Desktop> desktop;
};

Server Start(bool xfixes) {
    Server s;
    xtest::ServerOptions options;
    options.width = 640;
    options.height = 480;
    if (!xfixes)
        options.extraArguments = {"-extension", "XFIXES"};
    s.server = xtest::XvfbServer::Start(options);
    if (!s.server)
        return s;
    if (xfixes) {
        s.client = xtest::TestClient::Connect(s.server->DisplayName());
        if (s.client)
            s.client->SetFontCursor(s.client->Root(), 60); // hand2
    }
    s.desktop = X11Desktop::Open(s.server->DisplayName().c_str());
    if (s.desktop)
        s.desktop->SetCursorPos(320, 240);
    return s;
}

void RunCodes(benchmark::State& state, bool xfixes) {
    // Without XFixes this Xvfb aborts when one of two clients leaves, so
    // that server only ever has our own connection.
    const Server s = Start(xfixes);
    if (!s.desktop) {
        state.SkipWithError("Xvfb did not start");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(GetCursorFeatureCode(*s.desktop, *s.desktop, *s.desktop, 0));
}

void BM_CodeOnXvfbWithXfixes(benchmark::State& state) {
    RunCodes(state, true);
}
void BM_CodeOnXvfbScreenCopy(benchmark::State& state) {
    RunCodes(state, false);
}
BENCHMARK(BM_CodeOnXvfbWithXfixes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CodeOnXvfbScreenCopy)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace huegrab
