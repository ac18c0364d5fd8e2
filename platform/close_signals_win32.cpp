// SPDX-License-Identifier: GPL-3.0-or-later
// Windows: console control events arrive on a thread of their own, where
// the callback runs.
#include "platform/close_signals.h"
#include "platform/win32/kernel_handles.h"

#include <mutex>
#include <utility>
#include <windows.h>

namespace huegrab::platform {
namespace {

// The callback. The handler's thread calls it under the lock, and the
// destructor clears it under the lock before what it closes can go, so it
// never reaches a program that is being torn down.
std::mutex g_lock;
std::function<void()> g_onSignal;

// Set once the program has closed, and stored what it stores on closing.
HANDLE ClosedEvent() {
    static const win32::UniqueKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    return event.Get();
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
    {
        const std::lock_guard lock(g_lock);
        if (g_onSignal)
            g_onSignal();
    }
    // For these the system ends the process as soon as the handler returns
    // (and after five seconds at the latest): wait for the close to run.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        ::WaitForSingleObject(ClosedEvent(), 4500);
    return TRUE;
}

} // namespace

struct CloseSignals::Watch {};

CloseSignals::CloseSignals(std::function<void()> onSignal) {
    {
        const std::lock_guard lock(g_lock);
        g_onSignal = std::move(onSignal);
    }
    ClosedEvent(); // made here, not on the handler's thread
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

// Gone after the program's close, which ends its event loop.
CloseSignals::~CloseSignals() {
    {
        const std::lock_guard lock(g_lock);
        g_onSignal = nullptr;
    }
    ::SetEvent(ClosedEvent());
    ::SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
}

} // namespace huegrab::platform
