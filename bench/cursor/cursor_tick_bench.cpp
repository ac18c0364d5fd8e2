// SPDX-License-Identifier: GPL-3.0-or-later
// One complete tick of the running window against a private Xvfb, with the
// lookup page shown and with the cursor page shown (which adds the cursor
// code and the drawing of its box), in one run for comparison.

#include "app/form/form1.h"
#include "app/main_window_controller.h"
#include "app/qt_shell.h"
#include "desktop/x11/x11_desktop.h"
#include "tests/x11/support/test_client.h"
#include "tests/x11/support/xvfb_server.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace huegrab {
namespace {

struct Bench {
    std::unique_ptr<xtest::XvfbServer> server;
    std::unique_ptr<xtest::TestClient> client; // owns the root cursor
    std::unique_ptr<X11Desktop> desktop;
};

Bench& Environment() {
    static Bench bench = [] {
        Bench b;
        xtest::ServerOptions options;
        options.width = 1280;
        options.height = 800;
        b.server = xtest::XvfbServer::Start(options);
        if (!b.server) {
            std::fprintf(stderr, "cursor tick bench: Xvfb did not start\n");
            std::exit(1);
        }
        b.server->Run({"xsetroot", "-solid", "#336699"});
        b.client = xtest::TestClient::Connect(b.server->DisplayName());
        b.desktop = X11Desktop::Open(b.server->DisplayName().c_str());
        if (!b.client || !b.desktop) {
            std::fprintf(stderr, "cursor tick bench: cannot open %s\n",
                         b.server->DisplayName().c_str());
            std::exit(1);
        }
        b.client->SetFontCursor(b.client->Root(), 60); // hand2
        b.desktop->SetCursorPos(640, 400);
        return b;
    }();
    return bench;
}

void RunTicks(benchmark::State& state, int modePage) {
    QtShell shell;
    Form1 form(shell);
    const auto folder = std::filesystem::temp_directory_path() / "huegrab-bench-cursor-tick";
    std::filesystem::create_directories(folder);
    MainWindowController controller(form, *Environment().desktop, folder.string());
    form.show();
    form.SelectModePage(modePage);
    for (auto _ : state)
        controller.Tracking().RunTick();
    state.SetItemsProcessed(state.iterations());
}

void BM_TickLookupPage(benchmark::State& state) {
    RunTicks(state, 0);
}
void BM_TickCursorPage(benchmark::State& state) {
    RunTicks(state, 1);
}

BENCHMARK(BM_TickLookupPage)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_TickCursorPage)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
} // namespace huegrab

int main(int argc, char** argv) {
    // The widgets are updated on Qt's offscreen platform; the desktop reads
    // go to the private X server.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
