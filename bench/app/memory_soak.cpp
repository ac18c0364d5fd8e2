// SPDX-License-Identifier: GPL-3.0-or-later
// The program's memory over a long stretch of tracking: the built huegrab
// runs on a private Xvfb under openbox with the window panel on show (its
// pick page probes the window under the pointer every tick), Alt + ~ starts
// tracking, and the pointer walks over a root of random colours, one pixel
// every 20 ms, so every tick reads new pixels and writes new texts. Every
// few seconds it prints a row of the program's memory, from /proc:
//
//   rss      VmRSS, all resident pages
//   anon     RssAnon, resident anonymous pages (malloc'd memory and stacks)
//   heap     resident pages of the main malloc arena ([heap] in smaps)
//   data     VmData, private writable mappings whether touched or not
//   xvfb     the X server's VmRSS: pixmaps and pictures the program keeps
//            there grow this one
//
// and at the end the growth per hour of each over the last half of the run,
// where a level of memory shows as a figure near zero.
//
//   huegrab_bench_memory_soak [SECONDS [INTERVAL [NAME=VALUE...]]]
//
// 120 s and a row every 10 s by default, short enough for `make bench`; the
// soak proper runs an hour (`huegrab_bench_memory_soak 3600 30`). NAME=VALUE
// pairs go into the program's environment alone, for a heap profiler that
// preloads itself:
//
//   huegrab_bench_memory_soak 900 30 DUMP_HEAPTRACK_OUTPUT=/tmp/huegrab.raw
//       LD_PRELOAD=/usr/lib/heaptrack/libheaptrack_preload.so
//   heaptrack_interpret < /tmp/huegrab.raw | zstd > huegrab.zst
//   heaptrack --analyze huegrab.zst

#include "bench/app/root_pattern.h"
#include "tests/e2e/running_huegrab.h"
#include "tests/x11/support/x_connection.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Resident kilobytes of the mapping called `name` in /proc/PID/smaps.
long MappingRssKilobytes(pid_t pid, const std::string& name) {
    std::ifstream smaps("/proc/" + std::to_string(pid) + "/smaps");
    long total = 0;
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        // A mapping's header starts with its address range "start-end ".
        const auto dash = line.find('-');
        if (dash != std::string::npos && dash > 0 && line.find(' ') > dash &&
            std::all_of(line.begin(), line.begin() + static_cast<long>(dash),
                        [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); })) {
            inside = line.size() >= name.size() &&
                     line.compare(line.size() - name.size(), name.size(), name) == 0;
            continue;
        }
        if (inside && line.starts_with("Rss:"))
            total += std::stol(line.substr(4));
    }
    return total;
}

// The rows of the screen below the program's window.
struct Area {
    int width = 1024;
    int top = 0;
    int bottom = 767;
};

Area BelowTheWindow(huegrab::e2e::RunningHuegrab& huegrab) {
    Area area;
    const std::string geometry =
        huegrab.Server()
            .Run({"xdotool", "getwindowgeometry", "--shell", huegrab.WindowId()})
            .output;
    int y = 0, height = 0;
    std::sscanf(geometry.substr(geometry.find("Y=")).c_str(), "Y=%d", &y);
    std::sscanf(geometry.substr(geometry.find("HEIGHT=")).c_str(), "HEIGHT=%d", &height);
    area.top = std::clamp(y + height + 4, 0, area.bottom);
    return area;
}

struct Sample {
    double seconds = 0;
    long rss = 0, anon = 0, heap = 0, data = 0, xvfb = 0;
};

Sample Read(pid_t program, pid_t server, double seconds) {
    using huegrab::xtest::StatusKilobytes;
    Sample s;
    s.seconds = seconds;
    s.rss = StatusKilobytes(program, "VmRSS").value_or(0);
    s.anon = StatusKilobytes(program, "RssAnon").value_or(0);
    s.heap = MappingRssKilobytes(program, "[heap]");
    s.data = StatusKilobytes(program, "VmData").value_or(0);
    s.xvfb = StatusKilobytes(server, "VmRSS").value_or(0);
    return s;
}

// Kilobytes per hour of a least-squares line through the samples.
double SlopePerHour(const std::vector<Sample>& samples, long Sample::*field) {
    const double n = static_cast<double>(samples.size());
    if (n < 2)
        return 0;
    double st = 0, sv = 0, stt = 0, stv = 0;
    for (const Sample& s : samples) {
        const double v = static_cast<double>(s.*field);
        st += s.seconds;
        sv += v;
        stt += s.seconds * s.seconds;
        stv += s.seconds * v;
    }
    const double denominator = n * stt - st * st;
    return denominator == 0 ? 0 : 3600.0 * (n * stv - st * sv) / denominator;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 120;
    const int interval = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;

    huegrab::e2e::RunningHuegrab huegrab(true);
    for (int i = 3; i < argc; ++i) {
        const std::string pair = argv[i];
        const auto equals = pair.find('=');
        if (equals != std::string::npos)
            huegrab.SetEnvironment(pair.substr(0, equals), pair.substr(equals + 1));
    }
    if (!huegrab.Start()) {
        std::fprintf(stderr, "memory soak: huegrab did not start\n");
        return 1;
    }
    const Area area = BelowTheWindow(huegrab);
    huegrab.Click("Option2", 2); // the window panel, its pick page first
    huegrab.MovePointer(0, 767);
    huegrab.Key("alt+grave");
    if (!huegrab.WaitForColor("Label8", -1, huegrab::e2e::kLampRed)) {
        std::fprintf(stderr, "memory soak: tracking did not start\n");
        return 1;
    }
    huegrab::xtest::XConnection pointer =
        huegrab::xtest::OpenConnection(huegrab.Server().DisplayName());
    if (!pointer ||
        !huegrab::bench::PaintRoot(pointer.get(), huegrab::bench::RootPattern::RandomColors)) {
        std::fprintf(stderr, "memory soak: cannot paint the root\n");
        return 1;
    }
    const pid_t program = huegrab.Process().Pid();
    const pid_t server = huegrab.Server().ServerProcess().Pid();
    std::printf("huegrab pid %d, tracking random colours with the window panel open, %d s, "
                "rows %d to %d\n",
                static_cast<int>(program), seconds, area.bottom, area.top);
    std::printf("%8s %10s %10s %10s %10s %10s\n", "seconds", "rss KiB", "anon KiB", "heap KiB",
                "data KiB", "xvfb KiB");
    std::fflush(stdout);

    // The pointer walks row by row through the part of the screen below the
    // window, from the bottom up, so that each tick reads pixels no tick has
    // read before (an hour covers about 180 rows of 1024 pixels).
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::seconds(seconds);
    auto nextSample = start;
    std::vector<Sample> samples;
    int x = 0, y = area.bottom;
    for (auto now = start; now < end; now = std::chrono::steady_clock::now()) {
        if (now >= nextSample) {
            const Sample s =
                Read(program, server, std::chrono::duration<double>(now - start).count());
            if (s.rss == 0) {
                std::fprintf(stderr, "memory soak: huegrab is gone\n");
                return 1;
            }
            samples.push_back(s);
            std::printf("%8.0f %10ld %10ld %10ld %10ld %10ld\n", s.seconds, s.rss, s.anon, s.heap,
                        s.data, s.xvfb);
            std::fflush(stdout);
            nextSample += std::chrono::seconds(interval);
        }
        std::this_thread::sleep_for(20ms);
        if (++x == area.width) {
            x = 0;
            y = y == area.top ? area.bottom : y - 1;
        }
        huegrab::bench::WarpPointer(pointer.get(), x, y);
    }

    const std::vector<Sample> lastHalf(samples.begin() + static_cast<long>(samples.size() / 2),
                                       samples.end());
    std::printf("growth over the last half, KiB per hour: rss %.0f, anon %.0f, heap %.0f, "
                "data %.0f, xvfb %.0f\n",
                SlopePerHour(lastHalf, &Sample::rss), SlopePerHour(lastHalf, &Sample::anon),
                SlopePerHour(lastHalf, &Sample::heap), SlopePerHour(lastHalf, &Sample::data),
                SlopePerHour(lastHalf, &Sample::xvfb));
    return 0;
}
