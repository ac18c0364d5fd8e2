// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace huegrab::xtest {

using namespace std::chrono_literals;

// Variables set for a child on top of the test's own environment.
using EnvironmentVars = std::vector<std::pair<std::string, std::string>>;

struct ChildOptions {
    EnvironmentVars environment;
    // A descriptor the child keeps open (the test's descriptors are closed
    // on exec otherwise), e.g. Xvfb's -displayfd pipe.
    int inheritFd = -1;
    // Send the child's stdout and stderr to /dev/null (noisy servers).
    bool quiet = false;
    // Working directory of the child; empty keeps the test's.
    std::string workingDirectory;
};

struct CommandResult {
    int exitCode = -1;  // -1: could not start or timed out
    std::string output; // everything the command wrote to stdout
    std::string errors; // what it wrote to stderr, with captureErrors
};

struct CommandOptions {
    EnvironmentVars environment;
    // Written to the command's stdin, which is then closed (empty: the
    // command reads end of file at once). SIGPIPE is ignored in the test
    // program once input has been given.
    std::string input;
    std::chrono::milliseconds timeout = 20000ms;
    // Collect stderr into CommandResult::errors instead of passing it on.
    bool captureErrors = false;
};

// A program started in the background. The destructor ends it (SIGTERM,
// then SIGKILL). It also dies with the test program, so a crashed test
// leaves no server behind.
class ChildProcess {
public:
    // nullopt when the program cannot be started (it is looked up in PATH).
    static std::optional<ChildProcess> Start(const std::vector<std::string>& argv,
                                             const ChildOptions& options = {});

    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    pid_t Pid() const { return pid_; }
    bool Running();
    // The exit status once the child has ended within the timeout:
    // its exit code, or 128 + signal number when a signal ended it.
    std::optional<int> Wait(std::chrono::milliseconds timeout);
    // SIGTERM, up to `grace` to end, then SIGKILL. Returns the exit status.
    int Terminate(std::chrono::milliseconds grace = 3000ms);

private:
    friend CommandResult RunCommand(const std::vector<std::string>&, const CommandOptions&);
    explicit ChildProcess(pid_t pid) : pid_(pid) {}
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// A size field of /proc/PID/status in KiB, nullopt when the process is gone:
// "VmData" is what its heap has grown to (a leak grows it without end),
// "VmRSS" what it holds in memory.
std::optional<long> StatusKilobytes(pid_t pid, std::string_view field);

// Runs a command until it exits and captures its stdout; stderr goes to the
// test's stderr unless captureErrors is set. A command still running after the timeout is killed.
// Output a background child of the command (xclip -i serving the
// clipboard) writes after the command itself has exited is not waited for.
CommandResult RunCommand(const std::vector<std::string>& argv, const CommandOptions& options = {});

} // namespace huegrab::xtest
