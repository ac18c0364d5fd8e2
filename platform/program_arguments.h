// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace huegrab::platform {

// The arguments after the program name, as UTF-8 - the form the desktop's
// window titles come in. POSIX hands them over as they are; on Windows argv
// is in the ANSI code page, so they come from the Unicode command line.
std::vector<std::string> ProgramArguments(int argc, char** argv);

} // namespace huegrab::platform
