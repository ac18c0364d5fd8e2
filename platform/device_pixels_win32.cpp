// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/device_pixels.h"

#include <windows.h>

namespace huegrab::platform {

void UseDevicePixels() {
    // Per-monitor awareness (Windows 10 1703 on) where there is one, else
    // the system-wide kind (Vista on); looked up, so older systems start.
    using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const auto setContext = user32 ? reinterpret_cast<SetContext>(reinterpret_cast<void (*)()>(
                                         ::GetProcAddress(user32, "SetProcessDpiAwarenessContext")))
                                   : nullptr;
    if (setContext && setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
        return;
    ::SetProcessDPIAware();
}

} // namespace huegrab::platform
