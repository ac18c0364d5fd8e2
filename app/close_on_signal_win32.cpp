// Windows: console control events arrive on a thread of their own; the
// close is queued to the UI thread.
#include "app/close_on_signal.h"

#include <QMetaObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>
#include <windows.h>

namespace huegrab {

namespace {

QPointer<QWidget> g_window;

BOOL WINAPI OnConsoleEvent(DWORD) {
    if (QWidget* window = g_window.data())
        QMetaObject::invokeMethod(window, "close", Qt::QueuedConnection);
    return TRUE;
}

} // namespace

CloseOnSignal::CloseOnSignal(QWidget& window) : QObject(&window) {
    g_window = &window;
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

CloseOnSignal::~CloseOnSignal() {
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    g_window = nullptr;
}

} // namespace huegrab
