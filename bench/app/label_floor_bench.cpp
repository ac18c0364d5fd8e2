// SPDX-License-Identifier: GPL-3.0-or-later
// What Qt Widgets itself costs at the tracking rate, as a floor under the
// tracking benchmark's figures. A small window runs a 100 ms timer on a
// private Xvfb of 1920 x 1080, in seven copies side by side, each changing
// one 60 x 15 patch (or a label, or seventeen patches) a tick in its own way:
//   still  leaves the window alone: the timer's own cost;
//   xfill  asks the server to fill the patch, one request: what any X
//          client pays;
//   store  paints the fill straight into the window's backing store and
//          flushes it, past the widgets: Qt's painter and flush alone;
//   patch  repaints a widget that only fills itself: the bare cost of a
//          widget repaint and its flush;
//   label  writes a new "x:..  y:300" text into a plain QLabel in the
//          window's font and the raw-position label's size;
//   store17  paints seventeen patches straight into the backing store, in
//          one paint and one flush;
//   patch17  repaints seventeen widgets that only fill themselves.
// The tracking window repaints up to sixteen widgets and the magnifier a
// tick beside its own reads of the screen: patch17 against store17 is what
// the widget repaint machinery costs at that count. The CPU time of each
// copy is read from /proc over the same stretches of wall time.
//
//   huegrab_bench_label_floor [SECONDS [ROUNDS]]
//
// 30 s and 3 rounds by default. Run as "--window MODE" it is the window
// itself.

#include "app/form/form1.h"
#include "bench/app/process_cpu.h"
#include "tests/x11/support/xvfb_server.h"

#include <QApplication>
#include <QBackingStore>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

using namespace huegrab::xtest;
using namespace std::chrono_literals;

namespace {

// A widget that paints one colour and nothing else: what a repaint costs
// before any text is drawn.
class Patch : public QWidget {
public:
    using QWidget::QWidget;
    void SetColor(QRgb color) {
        color_ = color;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(color_)); }

private:
    QRgb color_ = 0;
};

// The same fill painted straight into the window's backing store and
// flushed, past the widgets' repaint machinery: what the toolkit's painting
// and flush cost alone.
void FillThroughBackingStore(QWidget& window, const std::vector<QRect>& areas, QRgb color) {
    QRegion region;
    for (const QRect& area : areas)
        region += area;
    QBackingStore* store = window.backingStore();
    store->beginPaint(region);
    {
        QPainter painter(store->paintDevice());
        for (const QRect& area : areas)
            painter.fillRect(area, QColor(color));
    }
    store->endPaint();
    store->flush(region, window.windowHandle());
}

// The same fill as one request to the server, on Qt's own connection: what
// any X client pays to change a patch at this rate.
class ServerFill {
public:
    explicit ServerFill(QWidget& window)
        : connection_(qApp->nativeInterface<QNativeInterface::QX11Application>()->connection()),
          window_(static_cast<xcb_window_t>(window.winId())), gc_(xcb_generate_id(connection_)) {
        xcb_create_gc(connection_, gc_, window_, 0, nullptr);
    }
    ~ServerFill() { xcb_free_gc(connection_, gc_); }
    ServerFill(const ServerFill&) = delete;
    ServerFill& operator=(const ServerFill&) = delete;

    void Fill(const QRect& area, QRgb color) {
        const uint32_t pixel = color & 0xFFFFFF; // the bench's servers are TrueColor, depth 24
        xcb_change_gc(connection_, gc_, XCB_GC_FOREGROUND, &pixel);
        const xcb_rectangle_t rectangle{
            static_cast<int16_t>(area.x()), static_cast<int16_t>(area.y()),
            static_cast<uint16_t>(area.width()), static_cast<uint16_t>(area.height())};
        xcb_poly_fill_rectangle(connection_, window_, gc_, 1, &rectangle);
        xcb_flush(connection_);
    }

private:
    xcb_connection_t* connection_;
    xcb_window_t window_;
    xcb_gcontext_t gc_;
};

const char* const kModes[] = {"still", "xfill", "store", "patch", "label", "store17", "patch17"};

// Seventeen patches spread over the window as the tracking window's readouts
// are: the first is the single patch of the one-patch copies.
constexpr int kManyPatches = 17;
QRect PatchArea(int k) {
    return QRect(120 + (k % 3) * 90, 20 + (k / 3) * 40, 60, 15);
}

int RunWindow(int argc, char** argv, const std::string& mode) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("label floor"));
    window.setFont(huegrab::WindowFont());
    window.resize(400, 260);
    QLabel label(QStringLiteral("x:0  y:0"), &window);
    label.setGeometry(20, 20, 89, 15);
    std::vector<Patch*> patches; // owned by the window
    std::vector<QRect> areas;
    for (int k = 0; k < kManyPatches; ++k) {
        areas.push_back(PatchArea(k));
        patches.push_back(new Patch(&window));
        patches.back()->setAttribute(Qt::WA_OpaquePaintEvent);
        patches.back()->setGeometry(areas.back());
    }
    window.show();
    std::optional<ServerFill> serverFill;
    if (mode == "xfill")
        serverFill.emplace(window);
    int tick = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &label, [&] {
        ++tick;
        const QRgb color = tick % 2 ? 0xFF8000 : 0x0080FF;
        // The pointer walking along a row, five pixels a tick, as the
        // tracking benchmark moves it.
        if (mode == "label")
            label.setText(QStringLiteral("x:%1  y:300").arg(100 + (tick * 5) % 500));
        else if (mode == "patch")
            patches.front()->SetColor(color);
        else if (mode == "store")
            FillThroughBackingStore(window, {areas.front()}, color);
        else if (mode == "patch17") {
            for (Patch* patch : patches)
                patch->SetColor(color);
        } else if (mode == "store17")
            FillThroughBackingStore(window, areas, color);
        else if (serverFill)
            serverFill->Fill(areas.front(), color);
    });
    timer.start(100);
    return app.exec();
}

struct Copy {
    const char* mode;
    std::unique_ptr<XvfbServer> server;
    std::optional<ChildProcess> program;
};

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--window") == 0)
        return RunWindow(argc, argv, argv[2]);

    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::string self = "/proc/" + std::to_string(getpid()) + "/exe";
    char path[4096] = {};
    if (readlink(self.c_str(), path, sizeof path - 1) <= 0)
        return 1;

    std::vector<Copy> copies;
    for (const char* mode : kModes) {
        ServerOptions options;
        options.width = 1920;
        options.height = 1080;
        Copy copy{mode, XvfbServer::Start(options), std::nullopt};
        if (!copy.server)
            return 1;
        copy.program = copy.server->Launch({path, "--window", mode});
        if (!copy.program || copy.server
                                     ->Run({"xdotool", "search", "--sync", "--onlyvisible",
                                            "--name", "^label floor"})
                                     .exitCode != 0) {
            std::fprintf(stderr, "label floor bench: the %s window did not show\n", mode);
            return 1;
        }
        copies.push_back(std::move(copy));
    }
    std::this_thread::sleep_for(2s); // past start-up

    std::vector<double> cpu(copies.size(), 0.0);
    double wall = 0;
    for (int round = 0; round < rounds; ++round) {
        std::vector<double> before;
        for (const Copy& copy : copies)
            before.push_back(huegrab::bench::ProcessCpuSeconds(copy.program->Pid()));
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        const double stretch =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        for (std::size_t i = 0; i < copies.size(); ++i) {
            const double used =
                huegrab::bench::ProcessCpuSeconds(copies[i].program->Pid()) - before[i];
            std::printf("  %-7s round %d: %.3f s CPU in %.2f s wall = %.2f %% of one core\n",
                        copies[i].mode, round + 1, used, stretch, 100.0 * used / stretch);
            cpu[i] += used;
        }
        wall += stretch;
    }
    for (std::size_t i = 0; i < copies.size(); ++i) {
        std::printf("100 ms timer, %-8s %.2f %% of one core, %.0f us CPU per tick\n",
                    (std::string(copies[i].mode) + ":").c_str(), 100.0 * cpu[i] / wall,
                    1e6 * cpu[i] / (wall / 0.1));
    }
    for (Copy& copy : copies)
        copy.program->Terminate();
    return 0;
}
