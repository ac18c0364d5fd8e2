// SPDX-License-Identifier: GPL-3.0-or-later
// A colour-slot click against a real config.ini of ten full sections: nine
// keys stored into the focused slot (one locked, flushed, atomic replacement
// of the file) and nine keys read from the clicked one (nine opens and reads).
// The file lives in $TMPDIR (or /tmp), so the figure includes that disk's fsync.

#include "settings/color_slots.h"
#include "settings/settings_file.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace huegrab {
namespace {

namespace fs = std::filesystem;

class BenchFolder {
public:
    BenchFolder() {
        std::string pattern = (fs::temp_directory_path() / "huegrab-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    ~BenchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    fs::path File() const { return path_ / "config.ini"; }

private:
    fs::path path_;
};

PickedFields Fields(int n) {
    return {std::to_string(100 + n),
            "200",
            "255",
            "0000FF",
            "FF",
            "0",
            "0",
            "255",
            "0",
            "0",
            "0",
            "240",
            "120"};
}

// Ten sections of nine keys, as ten clicks leave them.
void FillTenSlots(SettingsFile& file) {
    for (int slot = 0; slot < kColorSlotCount; ++slot) {
        SaveColorSlot(file, slot, Fields(slot));
    }
}

void BM_SlotClick(benchmark::State& state) {
    BenchFolder folder;
    SettingsFile file(folder.File());
    FillTenSlots(file);
    ColorSlots slots(file);
    int n = 0;
    for (auto _ : state) {
        ++n;
        // A new x each time, so every click really rewrites the file.
        benchmark::DoNotOptimize(slots.Click(n % kColorSlotCount, Fields(n)));
    }
}
BENCHMARK(BM_SlotClick)->Unit(benchmark::kMicrosecond);

// The stored values equal the fields: the write finds nothing to change and
// the file is left alone (lock, read, compare), then nine reads.
void BM_SlotClickUnchanged(benchmark::State& state) {
    BenchFolder folder;
    SettingsFile file(folder.File());
    FillTenSlots(file);
    ColorSlots slots(file);
    for (auto _ : state) {
        benchmark::DoNotOptimize(slots.Click(0, Fields(0)));
    }
}
BENCHMARK(BM_SlotClickUnchanged)->Unit(benchmark::kMicrosecond);

// The same nine keys written one call at a time: nine replacements.
void BM_NineSingleWritesAndNineReads(benchmark::State& state) {
    BenchFolder folder;
    SettingsFile file(folder.File());
    FillTenSlots(file);
    int n = 0;
    for (auto _ : state) {
        ++n;
        for (const char* key : {"X", "Y", "C", "R", "G", "B", "H", "S", "L"}) {
            file.WriteSetting("P3", key, std::to_string(n));
        }
        for (const char* key : {"X", "Y", "C", "R", "G", "B", "H", "S", "L"}) {
            benchmark::DoNotOptimize(file.ReadSetting("P7", key));
        }
    }
}
BENCHMARK(BM_NineSingleWritesAndNineReads)->Unit(benchmark::kMicrosecond);

// The restore at startup: 18 reads.
void BM_RestoreColorSlots(benchmark::State& state) {
    BenchFolder folder;
    SettingsFile file(folder.File());
    FillTenSlots(file);
    for (auto _ : state) {
        benchmark::DoNotOptimize(RestoreColorSlots(file));
    }
}
BENCHMARK(BM_RestoreColorSlots)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace huegrab

BENCHMARK_MAIN();
