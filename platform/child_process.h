// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Running a helper program and taking what it prints, for desktops that
// hand a task to one (the point picker of a wlroots compositor). POSIX only:
// child_process_posix.cpp; the Windows tree has no use for it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace huegrab::platform {

// How a helper program ended and what it wrote.
struct ChildOutcome {
    std::optional<int> exitStatus; // nullopt when a signal ended it
    int signal = 0;                // the signal that ended it, else 0
    std::string out;               // its standard output, at most the limit asked for
    bool outCut = false;           // it wrote more than that; the rest was dropped
    std::string err;               // its standard error, the same way
    bool errCut = false;

    bool Succeeded() const { return exitStatus == 0; }
};

// The executable file `program` names: itself when it holds a slash,
// otherwise the first match in a folder of PATH, as a shell finds it.
// nullopt when there is none.
std::optional<std::string> FindProgram(std::string_view program);

// Runs `program` (found as FindProgram finds it) with `arguments`, no shell
// between, with this process's environment and standard input from
// /dev/null, takes its standard output and error, each up to `outLimit`
// bytes, and waits until it has ended and is reaped.
// The child gets default signal handling, and ends with SIGTERM should the
// thread that started it end first, so that no helper outlives a killed
// program. nullopt, with the reason in `whyNot`, when it could not start.
std::optional<ChildOutcome> RunProgram(std::string_view program,
                                       const std::vector<std::string>& arguments,
                                       std::size_t outLimit, std::string& whyNot);

} // namespace huegrab::platform
