// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace huegrab {

// What the command line of the window program asks for. Qt's own options
// (-display NAME, -style NAME, -platform NAME, ...) are passed over: Qt reads
// them itself once the application exists.
struct ProgramOptions {
    bool help = false;
    bool version = false;
    std::optional<std::string> language; // the value of --lang
};

// A command line that cannot be run, in words for stderr.
struct ProgramUsageError {
    std::string message;
};

// Reads argv[1..]. --help (-h) and --version win over anything else on the
// line, even over a bad option, so that they always answer.
std::variant<ProgramOptions, ProgramUsageError>
ReadProgramOptions(std::span<const std::string_view> arguments);

// The text --help prints.
std::string ProgramHelpText();

// An argument inside quotes for a one-line message: control characters
// (a line break, an escape) written as \n, \t, \r or \xNN.
std::string QuotedArgument(std::string_view argument);

} // namespace huegrab
