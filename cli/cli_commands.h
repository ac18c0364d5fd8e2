// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/cli_arguments.h"
#include "desktop/desktop_services.h"

#include <functional>
#include <string>

namespace huegrab::cli {

// Exit statuses of the program.
inline constexpr int kExitDone = 0;
inline constexpr int kExitNotFound = 1; // nothing matched, or a wait timed out
inline constexpr int kExitUsage = 2;    // bad usage, or no desktop

struct Outcome {
    int status = kExitDone;
    std::string out;   // for stdout
    std::string error; // one line for stderr, without the program's name
};

// Whether the request reads the desktop (lookup does not).
bool NeedsDesktop(const Request& request);

// A line the program says on stderr while it works, before its result (the
// request to click a point), without the program's name.
using Notice = std::function<void(const std::string& line)>;

// Carries out one request. `desktop` may be null only when NeedsDesktop()
// is false.
Outcome RunRequest(const Request& request, DesktopServices* desktop, const Notice& notice = {});

} // namespace huegrab::cli
