// The program's own CPU use while tracking: the built huegrab runs on a
// private Xvfb, Alt + ~ starts tracking, and after a short settling time its
// CPU time over 10 seconds of wall time is read from /proc.

#include "tests/x11/support/x_connection.h"
#include "tests/x11/support/xvfb_server.h"

#include <X11/Xutil.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

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

} // namespace

int main() {
    ServerOptions options;
    options.width = 1280;
    options.height = 800;
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

    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = CpuSeconds(program->Pid());
    std::this_thread::sleep_for(10s);
    const double cpuEnd = CpuSeconds(program->Pid());
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("huegrab while tracking: %.3f s CPU in %.2f s wall = %.2f %% of one core\n",
                cpuEnd - cpuStart, wall, 100.0 * (cpuEnd - cpuStart) / wall);
    program->Terminate();
    std::filesystem::remove_all(folder);
    return 0;
}
