// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <X11/Xlib.h>
#include <optional>

namespace huegrab::x11 {

// Xlib's default error handler ends the process. The backend's handler
// records errors instead: inside an XErrorTrap they are kept for the trap,
// errors on one of the backend's own connections outside any trap are noted
// on stderr and dropped, and errors of other connections go to the handler
// that was installed before. Every call (every trap makes one) puts the
// handler back in place should another library have replaced it; the UI
// thread is the only one that talks to X.
//
// A lost server connection stays fatal (Xlib exits with status 1 once its
// I/O error handler returns); the handler says on stderr what happened.
void InstallErrorHandlers();

// The name the lost-connection message starts with ("huegrab" unless set)
// and, when set, the status the process exits with instead of Xlib's 1.
void SetLostConnectionExit(const char* program, int status);

// Marks a connection as the backend's, so stray errors on it never end the
// process.
void RegisterOwnDisplay(Display* display);
void UnregisterOwnDisplay(Display* display);

// Collects the errors of the requests made while it lives and keeps the
// first one whole, so that a caller can tell which request failed. Requests
// that wait for a reply report their error before they return; for the
// others call Sync().
class XErrorTrap {
public:
    explicit XErrorTrap(Display* display);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits until the server has handled every request sent so far and
    // returns the first error code of the trap (0 when there was none).
    int Sync();
    // The first error code seen so far, without a round trip.
    int ErrorCode() const { return firstError_ ? firstError_->error_code : 0; }
    bool Failed() const { return firstError_.has_value(); }
    // The first error seen so far as the server reported it: its code, the
    // failed request's major and minor opcode, serial and resource id.
    const std::optional<XErrorEvent>& FirstError() const { return firstError_; }

private:
    friend int RecordError(Display* display, XErrorEvent* event);

    Display* display_;
    unsigned long firstSerial_;
    std::optional<XErrorEvent> firstError_;
    XErrorTrap* outer_;
};

} // namespace huegrab::x11
