// The program's own CPU use while tracking: the built huegrab runs on a
// private Xvfb of 1920 x 1080, Alt + ~ starts tracking, and its CPU time over
// a stretch of wall time is read from /proc, in three cases: the pointer
// still, and the pointer moving over a two-colour checkerboard and over
// random colours (one pixel every 20 ms, so every tick sees new pixels).
//
//   huegrab_bench_tracking_cpu [SECONDS [ROUNDS]]   (default 30 s, 3 rounds)

#include "bench/app/root_pattern.h"
#include "tests/x11/support/x_connection.h"
#include "tests/x11/support/xvfb_server.h"

#include <X11/Xutil.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace huegrab::xtest;
using namespace std::chrono_literals;

namespace {

// User plus system CPU seconds of a process.
double CpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string content((std::istreambuf_iterator<char>(stat)), {});
    // Fields after the command name, which is in parentheses.
    std::istringstream fields(content.substr(content.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14)
            utime = std::stoull(field);
        if (index == 15) {
            stime = std::stoull(field);
            break;
        }
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The colour of the status lamp, 0xRRGGBB as the server stores it; the lamp
// sits at (312, 127) of the window's client area, 9 x 9 pixels.
unsigned long LampColour(const XvfbServer& server) {
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

// CPU seconds the program spends over `seconds` of wall time; moving, the
// pointer walks along a row left of the centred window meanwhile.
struct Stretch {
    double cpu = 0;
    double wall = 0;
};
Stretch Measure(pid_t pid, _XDisplay* pointer, bool moving, int seconds) {
    constexpr int kLeft = 100, kRight = 600, kRow = 300;
    huegrab::bench::WarpPointer(pointer, kLeft, kRow);
    std::this_thread::sleep_for(500ms); // a tick or more on the new pattern
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::seconds(seconds);
    const double cpuStart = CpuSeconds(pid);
    int x = kLeft;
    while (std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(moving ? 20ms : 200ms);
        if (moving) {
            x = x == kRight ? kLeft : x + 1;
            huegrab::bench::WarpPointer(pointer, x, kRow);
        }
    }
    const double cpuEnd = CpuSeconds(pid);
    return {cpuEnd - cpuStart,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    ServerOptions options;
    options.width = 1920;
    options.height = 1080;
    auto server = XvfbServer::Start(options);
    if (!server)
        return 1;

    // A private folder, so the program's config.ini lands there.
    const auto folder = std::filesystem::temp_directory_path() / "huegrab-bench-cpu";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto binary = folder / "huegrab";
    std::filesystem::copy_file(HUEGRAB_BINARY, binary);

    auto program = server->Launch({binary.string()});
    if (!program) {
        std::fprintf(stderr, "cpu bench: huegrab did not start\n");
        return 1;
    }
    if (server->Run({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^Huegrab"})
            .exitCode != 0) {
        std::fprintf(stderr, "cpu bench: no huegrab window\n");
        return 1;
    }
    std::this_thread::sleep_for(1s);
    server->Run({"xdotool", "mousemove", "400", "300"});
    server->Run({"xdotool", "key", "alt+grave"});
    std::this_thread::sleep_for(2s);
    if (LampColour(*server) != 0xFF0000) {
        std::fprintf(stderr, "cpu bench: tracking did not start (lamp %06lx)\n",
                     LampColour(*server));
        return 1;
    }

    XConnection pointer = OpenConnection(server->DisplayName());
    using huegrab::bench::RootPattern;
    for (const RootPattern pattern :
         {RootPattern::Solid, RootPattern::TwoColours, RootPattern::RandomColours}) {
        if (!huegrab::bench::PaintRoot(pointer.get(), pattern)) {
            std::fprintf(stderr, "cpu bench: cannot paint the root\n");
            return 1;
        }
        double cpu = 0, wall = 0;
        for (int round = 0; round < rounds; ++round) {
            const Stretch s =
                Measure(program->Pid(), pointer.get(), pattern != RootPattern::Solid, seconds);
            std::printf("  %-15s round %d: %.3f s CPU in %.2f s wall = %.2f %% of one core\n",
                        huegrab::bench::PatternName(pattern).c_str(), round + 1, s.cpu, s.wall,
                        100.0 * s.cpu / s.wall);
            cpu += s.cpu;
            wall += s.wall;
        }
        // One tick every 100 ms: CPU per tick is the CPU time over the ticks in the stretch.
        std::printf("huegrab while tracking, %-15s %.2f %% of one core, %.0f us CPU per tick\n",
                    (huegrab::bench::PatternName(pattern) + ":").c_str(), 100.0 * cpu / wall,
                    1e6 * cpu / (wall / 0.1));
        std::fflush(stdout);
    }
    program->Terminate();
    std::filesystem::remove_all(folder);
    return 0;
}
