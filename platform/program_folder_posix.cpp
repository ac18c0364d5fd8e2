// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_folder.h"

#include <filesystem>
#include <system_error>

namespace huegrab::platform {

std::optional<std::string> ProgramFolder() {
    // Linux names the executable here; a toolkit would decode the path as
    // UTF-8 and turn other bytes into U+FFFD, naming a folder that does not
    // exist.
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && executable.is_absolute())
        return executable.parent_path().native();
    return std::nullopt;
}

} // namespace huegrab::platform
