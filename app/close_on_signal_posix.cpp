// POSIX signals: the handler writes a byte to a self-pipe that the UI
// thread watches.
#include "app/close_on_signal.h"

#include <QSocketNotifier>
#include <QWidget>
#include <array>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace huegrab {

namespace {

// The write end of the pipe, read by the signal handler; -1 when unset.
volatile std::sig_atomic_t g_signalPipe = -1;
constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

void OnSignal(int) {
    const int fd = g_signalPipe;
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
}

int g_pipe[2] = {-1, -1};

} // namespace

CloseOnSignal::CloseOnSignal(QWidget& window) : QObject(&window) {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("huegrab: signal pipe");
        return;
    }
    g_signalPipe = g_pipe[1];
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);

    notifier_ = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [&window] {
        char buffer[16];
        while (::read(g_pipe[0], buffer, sizeof buffer) > 0) {
        }
        window.close();
    });
}

CloseOnSignal::~CloseOnSignal() {
    notifier_.reset();
    // The window is closed and the process is on its way out: a further
    // signal must not cut the exit short (the default action would end the
    // process by the signal).
    for (int signal : kSignals)
        std::signal(signal, SIG_IGN);
    g_signalPipe = -1;
    for (int& fd : g_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

} // namespace huegrab
