// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own CPU use while tracking: the built huegrab runs on a
// private Xvfb of 1920 x 1080, Alt + ~ starts tracking, and its CPU time over
// a stretch of wall time is read from /proc, in three cases: the pointer
// still, and the pointer moving over a two-colour checkerboard and over
// random colours (one pixel every 20 ms, so every tick sees new pixels).
// After each case it gives the program's resident memory: over long stretches
// (`huegrab_bench_tracking_cpu 300 1`) it must level off, not keep growing.
// Beside the program's CPU it gives its X server's: work the program hands
// to the server (or wake-ups it makes the server pay for) is no saving. The
// server's figure includes the bench's own pattern and pointer moves, the
// same for every build.
//
//   huegrab_bench_tracking_cpu [SECONDS [ROUNDS [BINARY...]]]
//
// 30 s and 3 rounds by default, of the huegrab built beside it. Given other
// builds of huegrab, it runs each on an Xvfb of its own and measures them
// all over the same stretches of time, the pointers moving in step: a busy
// machine then slows every build alike, and the figures stay comparable.

#include "bench/app/process_cpu.h"
#include "bench/app/root_pattern.h"
#include "tests/x11/support/x_connection.h"
#include "tests/x11/support/xvfb_server.h"

#include <X11/Xutil.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace huegrab::xtest;
using namespace std::chrono_literals;

namespace {

// The colour of the status lamp, 0xRRGGBB as the server stores it; the lamp
// sits at (312, 127) of the window's client area, 9 x 9 pixels.
unsigned long LampColor(const XvfbServer& server) {
    const CommandResult found =
        server.Run({"xdotool", "search", "--onlyvisible", "--name", "^Huegrab"});
    const CommandResult info =
        server.Run({"xwininfo", "-id", found.output.substr(0, found.output.find('\n'))});
    int x = 0, y = 0;
    std::istringstream lines(info.output);
    for (std::string line; std::getline(lines, line);) {
        const auto value = line.find(':');
        if (line.find("Absolute upper-left X") != std::string::npos)
            x = std::stoi(line.substr(value + 1));
        if (line.find("Absolute upper-left Y") != std::string::npos)
            y = std::stoi(line.substr(value + 1));
    }
    XConnection display = OpenConnection(server.DisplayName());
    if (!display)
        return 0;
    XImage* image = XGetImage(display.get(), DefaultRootWindow(display.get()), x + 316, y + 131, 1,
                              1, AllPlanes, ZPixmap);
    if (!image)
        return 0;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return pixel & 0xFFFFFF;
}

// One build of the program on its own server.
struct Subject {
    std::string binary;
    std::unique_ptr<XvfbServer> server;
    std::optional<ChildProcess> program;
    XConnection pointer; // the bench's client: root patterns and pointer moves
    std::filesystem::path folder;
};

// Starts the build on a fresh 1920 x 1080 server in a private folder (its
// config.ini lands there) and starts tracking with Alt + ~.
bool Start(Subject& subject, int number) {
    ServerOptions options;
    options.width = 1920;
    options.height = 1080;
    subject.server = XvfbServer::Start(options);
    if (!subject.server)
        return false;
    subject.folder =
        std::filesystem::temp_directory_path() /
        ("huegrab-bench-cpu-" + std::to_string(getpid()) + "-" + std::to_string(number));
    std::filesystem::remove_all(subject.folder);
    std::filesystem::create_directories(subject.folder);
    const auto binary = subject.folder / "huegrab";
    std::filesystem::copy_file(subject.binary, binary);
    XvfbServer& server = *subject.server;
    subject.program = server.Launch({binary.string()});
    if (!subject.program) {
        std::fprintf(stderr, "cpu bench: %s did not start\n", subject.binary.c_str());
        return false;
    }
    if (server.Run({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^Huegrab"})
            .exitCode != 0) {
        std::fprintf(stderr, "cpu bench: no huegrab window\n");
        return false;
    }
    std::this_thread::sleep_for(1s);
    server.Run({"xdotool", "mousemove", "400", "300"});
    server.Run({"xdotool", "key", "alt+grave"});
    std::this_thread::sleep_for(2s);
    if (LampColor(server) != 0xFF0000) {
        std::fprintf(stderr, "cpu bench: tracking did not start (lamp %06lx)\n", LampColor(server));
        return false;
    }
    subject.pointer = OpenConnection(server.DisplayName());
    return subject.pointer != nullptr;
}

struct Stretch {
    std::vector<double> cpu;    // per subject
    std::vector<double> server; // per subject: its Xvfb
    double wall = 0;
};

// CPU seconds each program spends over `seconds` of wall time; moving, the
// pointers walk along a row left of the centred window meanwhile.
Stretch Measure(std::vector<Subject>& subjects, bool moving, int seconds) {
    constexpr int kLeft = 100, kRight = 600, kRow = 300;
    for (Subject& subject : subjects)
        huegrab::bench::WarpPointer(subject.pointer.get(), kLeft, kRow);
    std::this_thread::sleep_for(500ms); // a tick or more on the new pattern
    Stretch stretch;
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::seconds(seconds);
    for (Subject& subject : subjects) {
        stretch.cpu.push_back(-huegrab::bench::ProcessCpuSeconds(subject.program->Pid()));
        stretch.server.push_back(
            -huegrab::bench::ProcessCpuSeconds(subject.server->ServerProcess().Pid()));
    }
    int x = kLeft;
    std::size_t first = 0;
    while (std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(moving ? 20ms : 200ms);
        if (moving) {
            x = x == kRight ? kLeft : x + 1;
            // Each server in turn gets the first move: the one moved last
            // would otherwise pay more (0.3 to 0.6 % in an A/A run).
            for (std::size_t i = 0; i < subjects.size(); ++i)
                huegrab::bench::WarpPointer(subjects[(first + i) % subjects.size()].pointer.get(),
                                            x, kRow);
            first = (first + 1) % subjects.size();
        }
    }
    for (std::size_t i = 0; i < subjects.size(); ++i) {
        stretch.cpu[i] += huegrab::bench::ProcessCpuSeconds(subjects[i].program->Pid());
        stretch.server[i] +=
            huegrab::bench::ProcessCpuSeconds(subjects[i].server->ServerProcess().Pid());
    }
    stretch.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return stretch;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    std::vector<Subject> subjects;
    for (int i = 3; i < argc; ++i)
        subjects.push_back(Subject{argv[i], {}, {}, {}, {}});
    if (subjects.empty())
        subjects.push_back(Subject{HUEGRAB_BINARY, {}, {}, {}, {}});
    for (std::size_t i = 0; i < subjects.size(); ++i) {
        if (!Start(subjects[i], static_cast<int>(i)))
            return 1;
    }

    using huegrab::bench::RootPattern;
    for (const RootPattern pattern :
         {RootPattern::Solid, RootPattern::TwoColors, RootPattern::RandomColors}) {
        for (Subject& subject : subjects) {
            if (!huegrab::bench::PaintRoot(subject.pointer.get(), pattern)) {
                std::fprintf(stderr, "cpu bench: cannot paint the root\n");
                return 1;
            }
        }
        std::vector<double> cpu(subjects.size(), 0.0);
        std::vector<double> server(subjects.size(), 0.0);
        double wall = 0;
        for (int round = 0; round < rounds; ++round) {
            const Stretch s = Measure(subjects, pattern != RootPattern::Solid, seconds);
            for (std::size_t i = 0; i < subjects.size(); ++i) {
                std::printf("  %-15s round %d: %.3f s CPU in %.2f s wall = %.2f %% of one core "
                            "(X server %.2f %%)%s%s\n",
                            huegrab::bench::PatternName(pattern).c_str(), round + 1, s.cpu[i],
                            s.wall, 100.0 * s.cpu[i] / s.wall, 100.0 * s.server[i] / s.wall,
                            subjects.size() > 1 ? "  " : "",
                            subjects.size() > 1 ? subjects[i].binary.c_str() : "");
                cpu[i] += s.cpu[i];
                server[i] += s.server[i];
            }
            wall += s.wall;
        }
        // One tick every 100 ms: CPU per tick is the CPU time over the ticks in the stretch.
        // Resident memory at the end shows whether what the ticks keep stays bounded.
        for (std::size_t i = 0; i < subjects.size(); ++i) {
            std::printf("huegrab while tracking, %-15s %.2f %% of one core, %.0f us CPU per tick, "
                        "%ld KiB resident; X server %.2f %%%s%s\n",
                        (huegrab::bench::PatternName(pattern) + ":").c_str(), 100.0 * cpu[i] / wall,
                        1e6 * cpu[i] / (wall / 0.1),
                        StatusKilobytes(subjects[i].program->Pid(), "VmRSS").value_or(0),
                        100.0 * server[i] / wall, subjects.size() > 1 ? "  " : "",
                        subjects.size() > 1 ? subjects[i].binary.c_str() : "");
        }
        std::fflush(stdout);
    }
    for (Subject& subject : subjects) {
        subject.program->Terminate();
        std::filesystem::remove_all(subject.folder);
    }
    return 0;
}
