// SPDX-License-Identifier: GPL-3.0-or-later
// The window list over 1,000 titled top-level windows, each framed by
// openbox, on a private Xvfb: once with the backend's batched walk, once
// with the same walk and titles asked one request at a time.

#include "bench/forwarding_desktop.h"
#include "desktop/x11/x11_desktop.h"
#include "tests/x11/support/test_client.h"
#include "tests/x11/support/xvfb_server.h"
#include "windowtools/window_walk.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace huegrab {
namespace {

constexpr int kWindows = 1000;

// Walks with one request at a time and reads each title with a request of
// its own (the interface's plain TitledTopLevelWindows).
class OneByOneDesktop final : public bench::ForwardingDesktop {
public:
    explicit OneByOneDesktop(X11Desktop& real) : ForwardingDesktop(real), x11_(real) {}

    std::vector<WindowHandle> TopLevelWindows() override { return x11_.TopLevelWindowsOneByOne(); }

private:
    X11Desktop& x11_;
};

struct Desktop {
    std::unique_ptr<xtest::XvfbServer> server;
    std::unique_ptr<xtest::TestClient> client; // owns the windows
    std::unique_ptr<X11Desktop> desktop;
};

// One server with its thousand windows for every benchmark of the run,
// made on first use.
std::unique_ptr<Desktop> shared;

Desktop* SharedDesktop() {
    if (!shared) {
        shared = std::make_unique<Desktop>();
        Desktop* made = shared.get();
        xtest::ServerOptions options;
        options.width = 1024;
        options.height = 768;
        options.windowManager = true;
        made->server = xtest::XvfbServer::Start(options);
        if (!made->server)
            return made;
        made->client = xtest::TestClient::Connect(made->server->DisplayName());
        std::vector<xtest::TestWindowSetup> specs(kWindows);
        for (int i = 0; i < kWindows; ++i) {
            specs[i].x = (i * 7) % 900;
            specs[i].y = (i * 5) % 650;
            specs[i].width = 100;
            specs[i].height = 80;
            specs[i].netWmName = "bench window " + std::to_string(i);
        }
        if (made->client && made->client->CreateWindows(specs).size() == kWindows)
            made->desktop = X11Desktop::Open(made->server->DisplayName().c_str());
    }
    return shared.get();
}

// CPU seconds the X server (our child process "Xvfb") has used so far; on
// a busy machine the wall time says little, the two processes' CPU time
// says what a list costs. -1 when it cannot be read.
double ServerCpuSeconds() {
    std::ifstream children("/proc/self/task/" + std::to_string(::getpid()) + "/children");
    for (std::string pid; children >> pid;) {
        std::ifstream comm("/proc/" + pid + "/comm");
        std::string name;
        if (!std::getline(comm, name) || name != "Xvfb")
            continue;
        std::ifstream statFile("/proc/" + pid + "/stat");
        std::string stat((std::istreambuf_iterator<char>(statFile)), {});
        // Fields after the command's closing parenthesis; utime and stime
        // are the 12th and 13th of them.
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string field;
        double ticks = 0;
        for (int i = 1; i <= 13 && fields >> field; ++i)
            if (i >= 12)
                ticks += std::stod(field);
        return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
    }
    return -1;
}

void RunList(benchmark::State& state, DesktopWindows& desktop) {
    std::size_t lines = 0;
    const double serverBefore = ServerCpuSeconds();
    for (auto _ : state) {
        const auto list = ListTopLevelWindows(desktop);
        lines = list.size();
        benchmark::DoNotOptimize(list.data());
    }
    if (lines < kWindows)
        state.SkipWithError(("only " + std::to_string(lines) + " lines listed").c_str());
    state.counters["lines"] = static_cast<double>(lines);
    if (serverBefore >= 0 && state.iterations() > 0)
        state.counters["server_cpu_ms"] =
            (ServerCpuSeconds() - serverBefore) * 1000.0 / static_cast<double>(state.iterations());
}

void BM_ListWindowsBatched(benchmark::State& state) {
    Desktop* shared = SharedDesktop();
    if (!shared->desktop) {
        state.SkipWithError("no Xvfb with openbox and 1,000 windows");
        return;
    }
    RunList(state, *shared->desktop);
}
BENCHMARK(BM_ListWindowsBatched)->Unit(benchmark::kMillisecond);

// The walk alone, without reading titles.
void BM_WalkBatched(benchmark::State& state) {
    Desktop* shared = SharedDesktop();
    if (!shared->desktop) {
        state.SkipWithError("no Xvfb with openbox and 1,000 windows");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(shared->desktop->TopLevelWindows().size());
}
BENCHMARK(BM_WalkBatched)->Unit(benchmark::kMillisecond);

void BM_ListWindowsOneRequestAtATime(benchmark::State& state) {
    Desktop* shared = SharedDesktop();
    if (!shared->desktop) {
        state.SkipWithError("no Xvfb with openbox and 1,000 windows");
        return;
    }
    OneByOneDesktop oneByOne(*shared->desktop);
    RunList(state, oneByOne);
}
BENCHMARK(BM_ListWindowsOneRequestAtATime)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace huegrab

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The server, its window manager and the windows go before exit.
    huegrab::shared.reset();
    return 0;
}
