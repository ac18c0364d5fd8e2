// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen cast costs the program: the CPU the consumer spends on each
// frame at 10 frames a second (the producer runs in a child process, so
// that only the consumer's threads count), and one tick's 11 x 11 read.
#include "desktop/wayland/pipewire_frames.h"
#include "tests/wayland/support/test_screen_cast.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace huegrab::wayland {
namespace {

using namespace std::chrono_literals;

// A child process sending a width x height BGRx screen cast at 10 frames a
// second, each frame's tag one more than the last's; ended with the object.
class CastingChild {
public:
    CastingChild(std::int32_t width, std::int32_t height) {
        int ends[2];
        if (pipe(ends) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(ends[0]);
            pw_init(nullptr, nullptr);
            TestScreenCast cast(SPA_VIDEO_FORMAT_BGRx, width, height, width * 4);
            const std::uint32_t node = cast.NodeId();
            if (write(ends[1], &node, sizeof node) != sizeof node)
                _exit(1);
            for (std::uint8_t tag = 0;; ++tag) {
                cast.Send({.tag = tag});
                std::this_thread::sleep_for(100ms);
            }
        }
        close(ends[1]);
        if (pid_ < 0 || read(ends[0], &node_, sizeof node_) != sizeof node_)
            node_ = SPA_ID_INVALID;
        close(ends[0]);
    }
    ~CastingChild() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    CastingChild(const CastingChild&) = delete;
    CastingChild& operator=(const CastingChild&) = delete;

    std::uint32_t Node() const { return node_; }

private:
    pid_t pid_ = -1;
    std::uint32_t node_ = SPA_ID_INVALID;
};

// The process's CPU seconds and page faults so far.
struct Usage {
    double cpu = 0;
    long faults = 0;
};
Usage UsageNow() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return {static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6,
            usage.ru_minflt + usage.ru_majflt};
}

// The tag of the newest frame (its blue channel).
int NewestTag(const PipeWireFrames& frames) {
    const auto block = frames.ReadBlock(0, 0, 1, 1);
    return block ? (block->pixels[0] >> 16) & 0xFF : -1;
}

std::unique_ptr<PipeWireFrames> Consumer(benchmark::State& state, const CastingChild& child) {
    std::string whyNot;
    auto frames = PipeWireFrames::Connect(-1, child.Node(), whyNot);
    if (!frames || !frames->WaitForFirstFrame(10s)) {
        state.SkipWithError(("no frames from the screen cast: " + whyNot).c_str());
        return nullptr;
    }
    return frames;
}

void BM_ConsumerCpuAt10Fps(benchmark::State& state) {
    const CastingChild child(static_cast<std::int32_t>(state.range(0)),
                             static_cast<std::int32_t>(state.range(1)));
    const auto frames = Consumer(state, child);
    if (!frames)
        return;
    Usage spent;
    int arrived = 0;
    for (auto _ : state) {
        const int firstTag = NewestTag(*frames);
        const Usage before = UsageNow();
        std::this_thread::sleep_for(5s);
        const Usage after = UsageNow();
        spent.cpu += after.cpu - before.cpu;
        spent.faults += after.faults - before.faults;
        arrived += (NewestTag(*frames) - firstTag + 256) % 256;
    }
    state.counters["frames"] = arrived;
    if (arrived > 0) {
        state.counters["cpu_ms_per_frame"] = spent.cpu * 1e3 / arrived;
        state.counters["faults_per_frame"] = static_cast<double>(spent.faults) / arrived;
    }
}
BENCHMARK(BM_ConsumerCpuAt10Fps)
    ->Args({1280, 720})
    ->Args({1920, 1080})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_ReadBlock11x11(benchmark::State& state) {
    const CastingChild child(1920, 1080);
    const auto frames = Consumer(state, child);
    if (!frames)
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(frames->ReadBlock(955, 535, 11, 11));
}
BENCHMARK(BM_ReadBlock11x11);

} // namespace
} // namespace huegrab::wayland

BENCHMARK_MAIN();
