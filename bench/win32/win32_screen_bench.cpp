// SPDX-License-Identifier: GPL-3.0-or-later
// Times the screen reads of one sampling tick on Windows: the backend's one
// BitBlt of the 11 x 11 block around the sample point (which holds the
// sample point too) beside 122 single GetPixel reads, each with its own
// GetDC/ReleaseDC, as a pixel-by-pixel tick would make them.
//
// Each case runs in rounds of about 0.3 s; the median round is reported.

#include "desktop/win32/win32_desktop.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>
#include <windows.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 7;
constexpr auto kRoundLength = std::chrono::milliseconds(300);
constexpr int kSide = 11;
constexpr int kReadsPerTick = kSide * kSide + 1;

// Keeps the compiler from dropping reads whose results go unused.
volatile long long g_sink = 0;

struct Result {
    double microsecondsPerTick;
    long long ticks;
};

Result TimeTicks(const std::function<long long()>& tick) {
    tick(); // warm-up: first DC, first X round trip under wine
    std::vector<double> perTick;
    long long total = 0;
    for (int round = 0; round < kRounds; ++round) {
        long long count = 0;
        const auto start = Clock::now();
        auto now = start;
        while (now - start < kRoundLength) {
            g_sink = g_sink + tick();
            ++count;
            now = Clock::now();
        }
        perTick.push_back(std::chrono::duration<double, std::micro>(now - start).count() /
                          static_cast<double>(count));
        total += count;
    }
    std::nth_element(perTick.begin(), perTick.begin() + kRounds / 2, perTick.end());
    return Result{perTick[kRounds / 2], total};
}

void Report(const char* name, const Result& result) {
    std::printf("%-40s %12.1f us/tick %10.2f us/pixel %8lld ticks\n", name,
                result.microsecondsPerTick, result.microsecondsPerTick / kReadsPerTick,
                result.ticks);
}

} // namespace

int main() {
    auto desktop = huegrab::Win32Desktop::Open();
    if (!desktop) {
        std::fprintf(stderr, "win32 screen bench: cannot open the desktop\n");
        return 1;
    }
    const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
    std::printf("screen reads of one tick around (%d, %d), median of %d rounds\n", x, y, kRounds);

    Report("block: one BitBlt of 11 x 11", TimeTicks([&] {
               const huegrab::PixelBlock block =
                   desktop->ReadBlock(x - kSide / 2, y - kSide / 2, kSide, kSide);
               return static_cast<long long>(block.At(x, y));
           }));

    Report("122 x GetDC + GetPixel + ReleaseDC", TimeTicks([&] {
               long long sum = 0;
               for (int i = 0; i < kReadsPerTick; ++i) {
                   const HDC dc = ::GetDC(nullptr);
                   sum += static_cast<long long>(::GetPixel(dc, x - kSide / 2 + i % kSide,
                                                            y - kSide / 2 + (i / kSide) % kSide));
                   ::ReleaseDC(nullptr, dc);
               }
               return sum;
           }));

    Report("122 x backend GetPixel", TimeTicks([&] {
               long long sum = 0;
               for (int i = 0; i < kReadsPerTick; ++i)
                   sum += desktop->GetPixel(x - kSide / 2 + i % kSide,
                                            y - kSide / 2 + (i / kSide) % kSide);
               return sum;
           }));
    return 0;
}
