// SPDX-License-Identifier: GPL-3.0-or-later
// The one owner of Windows handles, with handles that only count their
// closes: the template itself needs no Windows.

#include "platform/win32/unique_handle.h"

#include <gtest/gtest.h>
#include <map>
#include <utility>

namespace huegrab::win32 {
namespace {

// Closes per handle value. -1 is "no handle" and 0 a handle, as with
// INVALID_HANDLE_VALUE for a file.
std::map<int, int> g_closes;

struct CountingTraits {
    using Handle = int;
    static Handle Invalid() noexcept { return -1; }
    static void Close(Handle handle) noexcept { ++g_closes[handle]; }
};
using Counted = UniqueHandle<CountingTraits>;

TEST(UniqueHandle, EveryHandleIsClosedExactlyOnce) {
    const struct {
        const char* name;
        void (*run)();
        std::map<int, int> closes;
    } cases[] = {
        {"going out of scope", [] { Counted a(1); }, {{1, 1}}},
        {"no handle is never closed", [] { Counted a, b(-1); }, {}},
        {"a handle 0 is a handle", [] { Counted a(0); }, {{0, 1}}},
        {"moved from: only the new owner closes",
         [] {
             Counted a(1);
             Counted b(std::move(a));
             EXPECT_FALSE(a);
             EXPECT_EQ(b.Get(), 1);
         },
         {{1, 1}}},
        {"move assignment closes what it held",
         [] {
             Counted a(1), b(2);
             b = std::move(a);
             EXPECT_EQ(g_closes[2], 1);
             EXPECT_EQ(b.Get(), 1);
         },
         {{1, 1}, {2, 1}}},
        {"self move keeps the handle",
         [] {
             Counted a(1);
             Counted& same = a;
             a = std::move(same);
             EXPECT_EQ(a.Get(), 1);
         },
         {{1, 1}}},
        {"reset closes the old and keeps the new",
         [] {
             Counted a(1);
             a.Reset(2);
             EXPECT_EQ(g_closes[1], 1);
             a.Reset();
             EXPECT_FALSE(a);
         },
         {{1, 1}, {2, 1}}},
        {"release gives the handle up unclosed",
         [] {
             Counted a(1);
             EXPECT_EQ(a.Release(), 1);
             EXPECT_FALSE(a);
         },
         {}},
    };
    for (const auto& c : cases) {
        g_closes.clear();
        c.run();
        std::erase_if(g_closes, [](const auto& entry) { return entry.second == 0; });
        EXPECT_EQ(g_closes, c.closes) << c.name;
    }
}

TEST(UniqueHandle, TellsAHandleFromNone) {
    EXPECT_FALSE(Counted());
    EXPECT_FALSE(Counted(-1));
    EXPECT_TRUE(Counted(0));
    EXPECT_EQ(Counted().Get(), -1);
    g_closes.clear();
}

} // namespace
} // namespace huegrab::win32
