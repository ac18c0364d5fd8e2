// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_arguments.h"

namespace huegrab::platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

} // namespace huegrab::platform
