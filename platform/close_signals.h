// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

namespace huegrab::platform {

// Turns SIGTERM, SIGINT and SIGHUP (on Windows: console Ctrl+C, Break and
// close, logoff and shutdown) into a call of `onSignal`, so that a program
// can close normally and its shutdown steps run. The call comes on a thread
// of its own: it should only hand the close over to the program's main
// thread. One object at a time per process.
//
// Destroy it once the program has closed: on Windows the system ends the
// process soon after a console close, and waits (4.5 s at most) until then,
// so that what the close stores is stored.
class CloseSignals {
public:
    explicit CloseSignals(std::function<void()> onSignal);
    ~CloseSignals();

    CloseSignals(const CloseSignals&) = delete;
    CloseSignals& operator=(const CloseSignals&) = delete;

    struct Watch; // the platform's part

private:
    std::unique_ptr<Watch> watch_;
};

} // namespace huegrab::platform
