// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/wayland_lost.h"

#include <cstdio>
#include <cstdlib>

namespace huegrab::wayland {
namespace {

const char* lostProgram = "huegrab";
int lostStatus = 1;

} // namespace

void SetLostDesktopExit(const char* program, int status) {
    lostProgram = program;
    lostStatus = status;
}

void LoseDesktop(const std::string& reason) {
    std::fprintf(stderr, "%s: %s\n", lostProgram, reason.c_str());
    std::fflush(stderr);
    std::exit(lostStatus);
}

} // namespace huegrab::wayland
