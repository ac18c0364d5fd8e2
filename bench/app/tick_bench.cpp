// SPDX-License-Identifier: GPL-3.0-or-later
// One complete tick of the running window against a real X server (Xvfb,
// 1920 x 1080): pointer, nudge keys, the screen read, every readout, the
// swatches and the magnifier. The window is shown on that server through
// Qt's xcb platform.
//
// BM_TickWithBlockRead and BM_TickWith122SingleReads run the tick's own work
// only (the single block read against 122 reads one by one): the event loop
// never runs, so nothing is painted. BM_TickWithEventLoop is what the running
// program pays per tick: the tick, then the event loop until it is idle again,
// which repaints what changed and flushes it to the server. It reports the
// process's CPU time per tick for the pointer still, and for the pointer
// moving one pixel per tick over a two-colour checkerboard and over random
// colours.
//
// BM_SwatchColours is the tick's colour step alone: the picked swatch and the
// focused slot take the same colour again, or a new one every time.

#include "app/desktop_session.h"
#include "app/form/clickable_label.h"
#include "app/form/form1.h"
#include "app/form/form_colors.h"
#include "app/main_window_controller.h"
#include "app/qt_shell.h"
#include "bench/app/root_pattern.h"
#include "bench/forwarding_desktop.h"
#include "desktop/x11/x11_desktop.h"
#include "tests/x11/support/x_connection.h"
#include "tests/x11/support/xvfb_server.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace huegrab {
namespace {

// Reads a block pixel by pixel (121 reads plus the tick's own read of the
// sample point); everything else, the window probe's reads included, goes
// to the real desktop as it is.
class PixelByPixelDesktop final : public bench::ForwardingDesktop {
public:
    using ForwardingDesktop::ForwardingDesktop;

    PixelBlock ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height) override {
        PixelBlock block{left, top, width, height, {}};
        block.pixels.reserve(static_cast<std::size_t>(width * height));
        real_.GetPixel(left + width / 2, top + height / 2); // the sample point
        for (std::int32_t y = top; y < top + height; ++y)
            for (std::int32_t x = left; x < left + width; ++x)
                block.pixels.push_back(real_.GetPixel(x, y));
        return block;
    }
    WindowNames WindowTextAndClass(WindowHandle window) override {
        return real_.WindowTextAndClass(window);
    }
};

struct Bench {
    std::unique_ptr<xtest::XvfbServer> server;
    std::unique_ptr<X11Desktop> desktop;
    xtest::XConnection pointer; // the bench's own client: root patterns, pointer moves
};

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

Bench& Environment() {
    static Bench bench = [] {
        Bench b;
        xtest::ServerOptions options;
        options.width = kScreenWidth;
        options.height = kScreenHeight;
        b.server = xtest::XvfbServer::Start(options);
        if (!b.server) {
            std::fprintf(stderr, "tick bench: Xvfb did not start\n");
            std::exit(1);
        }
        b.server->Run({"xsetroot", "-solid", "#336699"});
        b.desktop = X11Desktop::Open(b.server->DisplayName().c_str());
        if (!b.desktop) {
            std::fprintf(stderr, "tick bench: cannot open %s\n", b.server->DisplayName().c_str());
            std::exit(1);
        }
        b.pointer = xtest::OpenConnection(b.server->DisplayName());
        b.desktop->SetCursorPos(640, 400);
        return b;
    }();
    return bench;
}

// The window, shown and painted once, with its handlers.
struct RunningWindow {
    explicit RunningWindow(DesktopServices& desktop)
        : controller(form, desktop, Folder().string()) {
        form.show();
        DrainEvents();
    }
    static std::filesystem::path Folder() {
        const auto folder = std::filesystem::temp_directory_path() / "huegrab-bench-tick";
        std::filesystem::create_directories(folder);
        return folder;
    }
    // Runs the event loop until nothing is pending: repaints and flushes.
    static void DrainEvents() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

    QtShell shell;
    Form1 form{shell};
    MainWindowController controller;
};

void RunTicks(benchmark::State& state, DesktopServices& desktop) {
    RunningWindow window(desktop);
    for (auto _ : state)
        window.controller.Tracking().RunTick();
    state.SetItemsProcessed(state.iterations());
}

// The pointer walks along a row of the left part of the screen, clear of the
// centred window, one pixel per tick; still, it stays where it is.
void BM_TickWithEventLoop(benchmark::State& state) {
    const auto pattern = static_cast<bench::RootPattern>(state.range(0));
    Bench& environment = Environment();
    if (!bench::PaintRoot(environment.pointer.get(), pattern)) {
        state.SkipWithError("cannot paint the root");
        return;
    }
    const bool moving = pattern != bench::RootPattern::Solid;
    constexpr int kLeft = 100, kRight = 600, kRow = 300;
    bench::WarpPointer(environment.pointer.get(), kLeft, kRow);
    RunningWindow window(*environment.desktop);
    window.controller.Tracking().RunTick(); // the first tick paints everything
    RunningWindow::DrainEvents();
    int x = kLeft;
    for (auto _ : state) {
        if (moving) {
            x = x == kRight ? kLeft : x + 1;
            bench::WarpPointer(environment.pointer.get(), x, kRow);
        }
        window.controller.Tracking().RunTick();
        RunningWindow::DrainEvents();
    }
    state.SetLabel(bench::PatternName(pattern));
    state.SetItemsProcessed(state.iterations());
}

void BM_TickWithBlockRead(benchmark::State& state) {
    RunTicks(state, *Environment().desktop);
}

void BM_TickWith122SingleReads(benchmark::State& state) {
    PixelByPixelDesktop desktop(*Environment().desktop);
    RunTicks(state, desktop);
}

void BM_SwatchColors(benchmark::State& state) {
    const bool changing = state.range(0) != 0;
    RunningWindow window(*Environment().desktop);
    const PickedPanel& picked = window.form.Controls().picked;
    ColorValue color = 0x336699;
    for (auto _ : state) {
        if (changing)
            color = color == 0x336699 ? 0x996633 : 0x336699;
        SetBackColor(picked.swatch, color);
        SetBackColor(picked.slotLabels[0], color);
    }
    state.SetLabel(changing ? "new colour" : "same colour");
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_TickWithBlockRead)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_TickWith122SingleReads)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
// The CPU column is the whole process's CPU time per tick (Qt's xcb reader
// thread included); the time column is wall time and waits for the server.
BENCHMARK(BM_TickWithEventLoop)
    ->Arg(static_cast<int>(bench::RootPattern::Solid))
    ->Arg(static_cast<int>(bench::RootPattern::TwoColors))
    ->Arg(static_cast<int>(bench::RootPattern::RandomColors))
    ->MeasureProcessCPUTime()
    ->MinTime(2.0)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SwatchColors)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kNanosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
} // namespace huegrab

int main(int argc, char** argv) {
    // The window is shown on the private X server, where the screen reads go.
    const std::string display = huegrab::Environment().server->DisplayName();
    qputenv("DISPLAY", display.c_str());
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("QT_SCALE_FACTOR");
    huegrab::SendWindowUpdatesOverTheConnection(); // as the program does
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
