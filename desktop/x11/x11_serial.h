// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace huegrab::x11 {

// Whether request `serial` was sent at or after request `first`. Serials
// count up in an unsigned long and wrap; as Xlib and XCB do, the signed
// difference orders two serials less than half the range apart.
constexpr bool SerialAtOrAfter(unsigned long serial, unsigned long first) {
    return static_cast<long>(serial - first) >= 0;
}

} // namespace huegrab::x11
