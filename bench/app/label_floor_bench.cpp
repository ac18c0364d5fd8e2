// What Qt Widgets itself costs at the tracking rate, as a floor under the
// tracking benchmark's figures. A small window runs a 100 ms timer on a
// private Xvfb of 1920 x 1080, in three copies side by side: "still" leaves
// the window alone; "patch" repaints a widget that only fills itself with a
// new colour, which is the bare cost of a repaint and its flush to the
// server; "label" writes a new "x:..  y:300" text into a plain QLabel in the
// window's font and the raw-position label's size. The tracking window
// repaints fourteen widgets a tick beside its own reads of the screen. The
// CPU time of each copy is read from /proc over the same stretches of wall
// time.
//
//   huegrab_bench_label_floor [SECONDS [ROUNDS]]
//
// 30 s and 3 rounds by default. Run as "--window still|patch|label" it is
// the window itself.

#include "app/form/form1.h"
#include "bench/app/process_cpu.h"
#include "tests/x11/support/xvfb_server.h"

#include <QApplication>
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

using namespace huegrab::xtest;
using namespace std::chrono_literals;

namespace {

// A widget that paints one colour and nothing else: what a repaint costs
// before any text is drawn.
class Patch : public QWidget {
public:
    using QWidget::QWidget;
    void SetColour(QRgb colour) {
        colour_ = colour;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(colour_)); }

private:
    QRgb colour_ = 0;
};

enum class Mode { Still, Label, Patch };

int RunWindow(int argc, char** argv, Mode mode) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("label floor"));
    window.setFont(huegrab::WindowFont());
    window.resize(200, 60);
    QLabel label(QStringLiteral("x:0  y:0"), &window);
    label.setGeometry(20, 20, 89, 15);
    Patch patch(&window);
    patch.setAttribute(Qt::WA_OpaquePaintEvent);
    patch.setGeometry(120, 20, 60, 15);
    window.show();
    int tick = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &label, [&] {
        ++tick;
        // The pointer walking along a row, five pixels a tick, as the
        // tracking benchmark moves it.
        if (mode == Mode::Label)
            label.setText(QStringLiteral("x:%1  y:300").arg(100 + (tick * 5) % 500));
        if (mode == Mode::Patch)
            patch.SetColour(tick % 2 ? 0xFF8000 : 0x0080FF);
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
    if (argc == 3 && std::strcmp(argv[1], "--window") == 0) {
        const Mode mode = std::strcmp(argv[2], "label") == 0   ? Mode::Label
                          : std::strcmp(argv[2], "patch") == 0 ? Mode::Patch
                                                               : Mode::Still;
        return RunWindow(argc, argv, mode);
    }

    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::string self = "/proc/" + std::to_string(getpid()) + "/exe";
    char path[4096] = {};
    if (readlink(self.c_str(), path, sizeof path - 1) <= 0)
        return 1;

    std::vector<Copy> copies;
    for (const char* mode : {"still", "patch", "label"}) {
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
            std::printf("  %-6s round %d: %.3f s CPU in %.2f s wall = %.2f %% of one core\n",
                        copies[i].mode, round + 1, used, stretch, 100.0 * used / stretch);
            cpu[i] += used;
        }
        wall += stretch;
    }
    for (std::size_t i = 0; i < copies.size(); ++i) {
        std::printf("100 ms timer, %-7s %.2f %% of one core, %.0f us CPU per tick\n",
                    (std::string(copies[i].mode) + ":").c_str(), 100.0 * cpu[i] / wall,
                    1e6 * cpu[i] / (wall / 0.1));
    }
    for (Copy& copy : copies)
        copy.program->Terminate();
    return 0;
}
