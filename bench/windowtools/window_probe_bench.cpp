// SPDX-License-Identifier: GPL-3.0-or-later
// The window panel's live probe as the tick runs it (the pointer's read,
// then the window and its names at that point) on a private Xvfb with
// openbox, the pointer still over an xmessage window: over an inner widget,
// over the title bar, and over a window openbox leaves alone. Each lookup
// waits on the server, so the time per probe counts its round trips.

#include "desktop/x11/x11_desktop.h"
#include "tests/x11/support/test_client.h"
#include "tests/x11/support/xvfb_server.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <optional>

namespace huegrab {
namespace {

struct Desktop {
    std::unique_ptr<xtest::XvfbServer> server;
    std::unique_ptr<xtest::TestClient> client; // owns the popup
    std::optional<xtest::RunningClient> xmessage;
    std::unique_ptr<X11Desktop> desktop;
    int x = 0; // xmessage's inside, root coordinates
    int y = 0;
};

std::unique_ptr<Desktop> shared;

Desktop* SharedDesktop() {
    if (shared)
        return shared.get();
    shared = std::make_unique<Desktop>();
    xtest::ServerOptions options;
    options.windowManager = true;
    shared->server = xtest::XvfbServer::Start(options);
    if (!shared->server)
        return shared.get();
    shared->client = xtest::TestClient::Connect(shared->server->DisplayName());
    shared->xmessage = xtest::LaunchXmessage(*shared->server, "probe bench", 20, 40);
    if (!shared->client || !shared->xmessage)
        return shared.get();
    const auto inside = shared->client->RootPosition(shared->xmessage->window);
    const xtest::XId popup =
        shared->client->CreateWindow(xtest::PlacedRectangle(400, 300, 100, 100));
    if (inside && popup != 0) {
        shared->client->CreateChild(popup, 10, 10, 50, 50, 0xFF0000);
        shared->x = inside->first;
        shared->y = inside->second;
        shared->desktop = X11Desktop::Open(shared->server->DisplayName().c_str());
    }
    return shared.get();
}

enum Over { kInnerWidget, kTitleBar, kOverrideRedirect };

void BM_ProbeWithThePointerStill(benchmark::State& state) {
    Desktop* desktop = SharedDesktop();
    if (!desktop->desktop) {
        state.SkipWithError("no Xvfb with openbox and xmessage");
        return;
    }
    const auto over = static_cast<Over>(state.range(0));
    const ScreenPoint point = over == kInnerWidget ? ScreenPoint{desktop->x + 5, desktop->y + 5}
                              : over == kTitleBar  ? ScreenPoint{desktop->x + 5, desktop->y - 8}
                                                   : ScreenPoint{415, 315};
    desktop->desktop->SetCursorPos(point.x, point.y);
    for (auto _ : state) {
        desktop->desktop->DispatchEvents();
        const auto pointer = desktop->desktop->ReadPointerAndKeys({});
        benchmark::DoNotOptimize(desktop->desktop->WindowAndNamesAt(*pointer.position).window);
    }
    state.SetLabel(over == kInnerWidget ? "xmessage, inner widget"
                   : over == kTitleBar  ? "xmessage, title bar"
                                        : "override-redirect child");
}
BENCHMARK(BM_ProbeWithThePointerStill)
    ->Arg(kInnerWidget)
    ->Arg(kTitleBar)
    ->Arg(kOverrideRedirect)
    ->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace huegrab

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    huegrab::shared.reset();
    return 0;
}
