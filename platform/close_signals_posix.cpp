// SPDX-License-Identifier: GPL-3.0-or-later
// POSIX signals: the handler writes a byte to a self-pipe that a thread of
// its own waits on.
#include "platform/close_signals.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace huegrab::platform {
namespace {

// The write end of the pipe, read by the signal handler; -1 when unset.
volatile std::sig_atomic_t g_signalPipe = -1;
constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

void OnSignal(int) {
    const int saved = errno; // the interrupted code may be about to read it
    const int fd = g_signalPipe;
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = saved;
}

} // namespace

struct CloseSignals::Watch {
    int pipe[2] = {-1, -1};
    std::atomic<bool> stopping = false;
    std::thread waiter;
};

CloseSignals::CloseSignals(std::function<void()> onSignal) : watch_(std::make_unique<Watch>()) {
    int* pipe = watch_->pipe;
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        std::perror("huegrab: signal pipe");
        return;
    }
    // The handler must never block on a full pipe; the waiter blocks on
    // purpose.
    ::fcntl(pipe[1], F_SETFL, ::fcntl(pipe[1], F_GETFL) | O_NONBLOCK);
    g_signalPipe = pipe[1];
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);

    Watch& watch = *watch_;
    watch.waiter = std::thread([&watch, onSignal = std::move(onSignal)] {
        char buffer[16];
        while (true) {
            const ssize_t got = ::read(watch.pipe[0], buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0 || watch.stopping)
                return;
            onSignal(); // one call for the signals that came together
        }
    });
}

CloseSignals::~CloseSignals() {
    // The program has closed and is on its way out: a further signal must
    // not cut the exit short (the default action would end the process by
    // the signal).
    if (watch_->waiter.joinable()) {
        for (int signal : kSignals)
            std::signal(signal, SIG_IGN);
        g_signalPipe = -1;
        watch_->stopping = true;
        const char byte = 0;
        [[maybe_unused]] const ssize_t written = ::write(watch_->pipe[1], &byte, 1);
        watch_->waiter.join();
    }
    for (int& fd : watch_->pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

} // namespace huegrab::platform
