// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Running a helper program and taking what it prints, for desktops that
// hand a task to one (the point picker of a wlroots compositor). POSIX only:
// child_process_posix.cpp; the Windows tree has no use for it.

#include <cstddef>
#include <mutex>
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

// Ends a helper that RunProgram runs on another thread: the caller's way
// out of a wait that lasts as long as the helper likes (a pick the user
// never makes). Ending is for good: a program started after it ends at once.
class ChildStop {
public:
    // Sends SIGTERM to the helper running now, and to any started later.
    void Stop();

private:
    friend class RunningChild;
    std::mutex mutex_;
    int running_ = 0; // the pid while it is not yet reaped, else 0
    bool stopped_ = false;
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
// A `stop` given ends it early on request.
std::optional<ChildOutcome> RunProgram(std::string_view program,
                                       const std::vector<std::string>& arguments,
                                       std::size_t outLimit, std::string& whyNot,
                                       ChildStop* stop = nullptr);

} // namespace huegrab::platform
