// SPDX-License-Identifier: GPL-3.0-or-later
// Cost per colour of the conversions every tick and every lookup runs,
// measured over all 2^24 colours. "per_colour" is the time for one colour.

#include "color/color_model.h"

#include <benchmark/benchmark.h>
#include <cstdint>

namespace {

constexpr std::int64_t kColorCount = std::int64_t{1} << 24;

void AddPerColorCounter(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kColorCount);
    state.counters["per_colour"] = benchmark::Counter(
        static_cast<double>(kColorCount),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_RgbToHslAllColors(benchmark::State& state) {
    for (auto _ : state) {
        for (std::int32_t value = 0; value < kColorCount; ++value) {
            const huegrab::HslColor hsl =
                huegrab::RgbToHsl(static_cast<std::int16_t>(value & 0xFF),
                                  static_cast<std::int16_t>((value >> 8) & 0xFF),
                                  static_cast<std::int16_t>(value >> 16));
            benchmark::DoNotOptimize(hsl);
        }
    }
    AddPerColorCounter(state);
}
BENCHMARK(BM_RgbToHslAllColors)->Unit(benchmark::kMillisecond);

void BM_MakeColorSampleAllColors(benchmark::State& state) {
    for (auto _ : state) {
        for (std::int32_t value = 0; value < kColorCount; ++value) {
            huegrab::ColorSample sample = huegrab::MakeColorSample(0, 0, value);
            benchmark::DoNotOptimize(sample);
        }
    }
    AddPerColorCounter(state);
}
BENCHMARK(BM_MakeColorSampleAllColors)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
