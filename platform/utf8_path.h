// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace huegrab::platform {

// Paths travel through the program as UTF-8 strings, as Qt and the settings
// path give them. A std::filesystem::path made from a plain std::string
// reads it in the ANSI code page on Windows, which turns a folder named in
// another script into a different, usually missing, folder; these convert
// as UTF-8 on every system.
std::filesystem::path PathFromUtf8(std::string_view utf8);

// The path as UTF-8 for messages; characters that have no UTF-8 form (a
// lone surrogate in a Windows file name) show as U+FFFD rather than throw.
std::string Utf8FromPath(const std::filesystem::path& path);

} // namespace huegrab::platform
