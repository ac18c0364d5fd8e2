// Windows: console control events arrive on a thread of their own; the
// close is queued to the UI thread.
#include "app/close_on_signal.h"

#include <QMetaObject>
#include <QSocketNotifier>
#include <QWidget>
#include <memory>
#include <mutex>
#include <windows.h>

namespace huegrab {

namespace {

// The window to close. The handler's thread reads it under the lock, and
// the UI thread clears it under the lock before the window can go, so a
// close is never queued to a window that is being destroyed.
std::mutex g_windowLock;
QWidget* g_window = nullptr;

// Set once the window has closed, and stored what it stores on closing.
HANDLE ClosedEvent() {
    static const std::unique_ptr<void, decltype(&::CloseHandle)> event(
        ::CreateEventW(nullptr, TRUE, FALSE, nullptr), &::CloseHandle);
    return event.get();
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
    {
        const std::lock_guard lock(g_windowLock);
        if (g_window) // queuing a call is safe from any thread
            QMetaObject::invokeMethod(g_window, "close", Qt::QueuedConnection);
    }
    // For these the system ends the process as soon as the handler returns
    // (and after five seconds at the latest): wait for the close to run.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        ::WaitForSingleObject(ClosedEvent(), 4500);
    return TRUE;
}

} // namespace

CloseOnSignal::CloseOnSignal(QWidget& window) : QObject(&window) {
    {
        const std::lock_guard lock(g_windowLock);
        g_window = &window;
    }
    ClosedEvent(); // made here, not on the handler's thread
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

// Gone after the window's close, which ends the event loop.
CloseOnSignal::~CloseOnSignal() {
    {
        const std::lock_guard lock(g_windowLock);
        g_window = nullptr;
    }
    ::SetEvent(ClosedEvent());
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
}

} // namespace huegrab
