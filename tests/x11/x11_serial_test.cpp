// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_serial.h"

#include <climits>
#include <gtest/gtest.h>

namespace huegrab::x11 {
namespace {

TEST(SerialAtOrAfter, OrdersSerialsAcrossTheWrap) {
    struct Case {
        unsigned long serial;
        unsigned long first;
        bool atOrAfter;
    };
    const Case cases[] = {
        {100, 100, true},
        {101, 100, true},
        {99, 100, false},
        {0, 0, true},
        // A trap opened just before the counter wraps still owns the
        // requests sent after it, and not those sent before it.
        {ULONG_MAX, ULONG_MAX, true},
        {0, ULONG_MAX, true},
        {5, ULONG_MAX - 2, true},
        {ULONG_MAX - 3, ULONG_MAX - 2, false},
        {ULONG_MAX, 0, false},
        {ULONG_MAX - 10, 3, false},
        // Up to half the range either way.
        {LONG_MAX, 0, true},
        {static_cast<unsigned long>(LONG_MAX) + 1, 0, false},
        {ULONG_MAX - 1, static_cast<unsigned long>(LONG_MAX), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SerialAtOrAfter(c.serial, c.first), c.atOrAfter)
            << "serial " << c.serial << ", first " << c.first;
    }
}

} // namespace
} // namespace huegrab::x11
