// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_windows.h"

#include <cstdint>
#include <windows.h>

namespace huegrab::win32 {

// Window handles carry 32 significant bits and are sign-extended to the
// pointer width, so a 64-bit HWND turns into the 32-bit handle and back
// without loss. A value that does not survive the round trip is no window.
inline WindowHandle ToHandle(HWND window) {
    const auto value = reinterpret_cast<std::intptr_t>(window);
    const auto handle = static_cast<WindowHandle>(static_cast<std::uint32_t>(value));
    return static_cast<std::intptr_t>(handle) == value ? handle : 0;
}

inline HWND ToHwnd(WindowHandle handle) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(handle));
}

} // namespace huegrab::win32
