// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_error_trap.h"

#include "desktop/x11/x11_serial.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace huegrab::x11 {
namespace {

XErrorTrap* innermostTrap = nullptr;
std::vector<Display*> ownDisplays;
XErrorHandler previousErrorHandler = nullptr;
XIOErrorHandler previousIoErrorHandler = nullptr;
bool installed = false;

bool IsOwnDisplay(Display* display) {
    return std::find(ownDisplays.begin(), ownDisplays.end(), display) != ownDisplays.end();
}

const char* lostConnectionProgram = "huegrab";
std::optional<int> lostConnectionStatus;

int ReportLostConnection(Display* display) {
    std::fprintf(stderr, "%s: lost the connection to the X server %s\n", lostConnectionProgram,
                 display ? DisplayString(display) : "");
    if (previousIoErrorHandler && !IsOwnDisplay(display))
        return previousIoErrorHandler(display);
    if (lostConnectionStatus)
        std::_Exit(*lostConnectionStatus); // no exit handlers: they might talk to X
    return 0;                              // Xlib ends the process when this returns
}

} // namespace

int RecordError(Display* display, XErrorEvent* event) {
    for (XErrorTrap* trap = innermostTrap; trap; trap = trap->outer_) {
        if (trap->display_ == display && SerialAtOrAfter(event->serial, trap->firstSerial_)) {
            if (!trap->firstError_)
                trap->firstError_ = *event;
            return 0;
        }
    }
    if (IsOwnDisplay(display)) {
        char text[128] = {};
        XGetErrorText(display, event->error_code, text, sizeof text);
        std::fprintf(stderr, "huegrab: ignored X error \"%s\" (request %d.%d)\n", text,
                     event->request_code, event->minor_code);
        return 0;
    }
    return previousErrorHandler ? previousErrorHandler(display, event) : 0;
}

void SetLostConnectionExit(const char* program, int status) {
    lostConnectionProgram = program;
    lostConnectionStatus = status;
}

void InstallErrorHandlers() {
    // Xlib keeps one handler per process, and toolkits opened later (Qt's
    // xcb plugin) install their own. Taking it back here, and chaining to
    // whoever replaced it, keeps every trap working after such a change.
    const XErrorHandler current = XSetErrorHandler(RecordError);
    if (current != RecordError)
        previousErrorHandler = current;
    if (installed)
        return;
    installed = true;
    previousIoErrorHandler = XSetIOErrorHandler(ReportLostConnection);
}

void RegisterOwnDisplay(Display* display) {
    if (!IsOwnDisplay(display))
        ownDisplays.push_back(display);
}

void UnregisterOwnDisplay(Display* display) {
    std::erase(ownDisplays, display);
}

XErrorTrap::XErrorTrap(Display* display)
    : display_(display), firstSerial_(NextRequest(display)), outer_(innermostTrap) {
    InstallErrorHandlers();
    innermostTrap = this;
}

XErrorTrap::~XErrorTrap() {
    // Traps close in the reverse order they opened; an error that arrives
    // after this point is no longer this trap's to record.
    innermostTrap = outer_;
}

int XErrorTrap::Sync() {
    XSync(display_, False);
    return ErrorCode();
}

} // namespace huegrab::x11
