// One complete tick of the running window against a real X server (Xvfb):
// pointer, nudge keys, the screen read, every readout, the swatches and the
// magnifier. Run once with the tick's single block read, and once with the
// same tick reading the 122 pixels one by one, for comparison.

#include "app/form/form1.h"
#include "app/main_window_controller.h"
#include "app/qt_shell.h"
#include "desktop/x11/x11_desktop.h"
#include "tests/x11/support/xvfb_server.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace huegrab {
namespace {

// Forwards everything to the real desktop, but reads a block pixel by pixel
// (121 reads plus the tick's own read of the sample point).
class PixelByPixelDesktop final : public DesktopServices {
public:
    explicit PixelByPixelDesktop(DesktopServices& real) : real_(real) {}

    std::optional<ScreenPoint> GetCursorPos() override { return real_.GetCursorPos(); }
    void SetCursorPos(std::int32_t x, std::int32_t y) override { real_.SetCursorPos(x, y); }
    ColorValue GetPixel(std::int32_t x, std::int32_t y) override { return real_.GetPixel(x, y); }
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
    std::uint32_t KeysPressed(std::span<const int> keys) override {
        return real_.KeysPressed(keys);
    }
    bool RegisterHotKey(int id, unsigned modifiers, int key) override {
        return real_.RegisterHotKey(id, modifiers, key);
    }
    void UnregisterHotKey(int id) override { real_.UnregisterHotKey(id); }
    void SetHotkeyHandler(std::function<void(const HotkeyMessage&)> handler) override {
        real_.SetHotkeyHandler(std::move(handler));
    }
    void AttachEventLoop(DesktopEventLoop& loop) override { real_.AttachEventLoop(loop); }
    void DispatchEvents() override { real_.DispatchEvents(); }
    WindowHandle WindowFromPoint(ScreenPoint point) override {
        return real_.WindowFromPoint(point);
    }
    std::vector<WindowHandle> TopLevelWindows() override { return real_.TopLevelWindows(); }
    std::string WindowText(WindowHandle window) override { return real_.WindowText(window); }
    std::string ClassName(WindowHandle window) override { return real_.ClassName(window); }
    std::optional<CursorImage> GetCursorImage() override { return real_.GetCursorImage(); }

private:
    DesktopServices& real_;
};

struct Bench {
    std::unique_ptr<xtest::XvfbServer> server;
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
            std::fprintf(stderr, "tick bench: Xvfb did not start\n");
            std::exit(1);
        }
        b.server->Run({"xsetroot", "-solid", "#336699"});
        b.desktop = X11Desktop::Open(b.server->DisplayName().c_str());
        if (!b.desktop) {
            std::fprintf(stderr, "tick bench: cannot open %s\n", b.server->DisplayName().c_str());
            std::exit(1);
        }
        b.desktop->SetCursorPos(640, 400);
        return b;
    }();
    return bench;
}

void RunTicks(benchmark::State& state, DesktopServices& desktop) {
    QtShell shell;
    Form1 form(shell);
    const auto folder = std::filesystem::temp_directory_path() / "huegrab-bench-tick";
    std::filesystem::create_directories(folder);
    MainWindowController controller(form, desktop, folder.string());
    form.show();
    for (auto _ : state)
        controller.Tracking().RunTick();
    state.SetItemsProcessed(state.iterations());
}

void BM_TickWithBlockRead(benchmark::State& state) {
    RunTicks(state, *Environment().desktop);
}

void BM_TickWith122SingleReads(benchmark::State& state) {
    PixelByPixelDesktop desktop(*Environment().desktop);
    RunTicks(state, desktop);
}

BENCHMARK(BM_TickWithBlockRead)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_TickWith122SingleReads)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
} // namespace huegrab

int main(int argc, char** argv) {
    // The widgets are updated on Qt's offscreen platform; the screen reads go
    // to the private X server.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
