// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one cursor feature code: the fold of the points alone, and the
// whole capture and fold on the fake desktop, with a cursor image of the
// usual sizes and with the screen copy used when there is none.

#include "cursor/cursor_feature_code.h"
#include "desktop/fake/fake_desktop.h"

#include <benchmark/benchmark.h>

namespace huegrab {
namespace {

void BM_FoldCursorSurface(benchmark::State& state) {
    CursorSurface surface;
    for (std::size_t i = 0; i < surface.pixels.size(); ++i)
        surface.pixels[i] = static_cast<ColorValue>((i * 2654435761u) & 0xFFFFFF);
    const int method = static_cast<int>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(surface);
        benchmark::DoNotOptimize(FoldCursorSurface(surface, method));
    }
}
BENCHMARK(BM_FoldCursorSurface)->Arg(0)->Arg(1)->Arg(2);

void BM_CodeOfCursorImage(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    FakeDesktop desktop(640, 480);
    CursorImage image{side, side, side / 4, side / 4, {}};
    image.argb.resize(static_cast<std::size_t>(side) * side);
    for (std::size_t i = 0; i < image.argb.size(); ++i)
        image.argb[i] = i % 3 == 0 ? 0 : static_cast<std::uint32_t>(0xFF000000u | (i * 7919u));
    desktop.cursor = image;
    for (auto _ : state)
        benchmark::DoNotOptimize(GetCursorFeatureCode(desktop, desktop, desktop, 1));
}
BENCHMARK(BM_CodeOfCursorImage)->Arg(24)->Arg(32)->Arg(64);

void BM_CodeOfScreenCopy(benchmark::State& state) {
    FakeDesktop desktop(640, 480, 0x336699);
    desktop.pointer = {300, 200};
    for (auto _ : state)
        benchmark::DoNotOptimize(GetCursorFeatureCode(desktop, desktop, desktop, 1));
}
BENCHMARK(BM_CodeOfScreenCopy);

} // namespace
} // namespace huegrab

BENCHMARK_MAIN();
