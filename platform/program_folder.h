// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace huegrab::platform {

// The folder of the running executable, where config.ini is looked for
// first, with every link resolved: the path's own bytes on POSIX (a folder
// whose name is not UTF-8 must still be found), UTF-8 with "/" between the
// names on Windows ("C:/Program Files/huegrab"). nullopt when the system
// does not say; the caller then asks its toolkit.
std::optional<std::string> ProgramFolder();

} // namespace huegrab::platform
