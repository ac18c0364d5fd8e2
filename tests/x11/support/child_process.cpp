// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/x11/support/child_process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace huegrab::xtest {
namespace {

// argv and envp as exec wants them, built before fork: the child may only
// make async-signal-safe calls.
struct ExecArguments {
    std::vector<std::string> argvStrings;
    std::vector<std::string> envStrings;
    std::vector<char*> argv;
    std::vector<char*> envp;

    ExecArguments(const std::vector<std::string>& arguments, const EnvironmentVars& extra)
        : argvStrings(arguments) {
        for (char** entry = environ; *entry; ++entry) {
            const std::string variable(*entry);
            const std::string name = variable.substr(0, variable.find('='));
            bool overridden = false;
            for (const auto& [key, value] : extra)
                overridden = overridden || key == name;
            if (!overridden)
                envStrings.push_back(variable);
        }
        // A later setting of a name replaces an earlier one.
        for (std::size_t i = 0; i < extra.size(); ++i) {
            const auto later =
                std::find_if(extra.begin() + static_cast<std::ptrdiff_t>(i) + 1, extra.end(),
                             [&](const auto& setting) { return setting.first == extra[i].first; });
            if (later == extra.end())
                envStrings.push_back(extra[i].first + "=" + extra[i].second);
        }
        for (std::string& s : argvStrings)
            argv.push_back(s.data());
        argv.push_back(nullptr);
        for (std::string& s : envStrings)
            envp.push_back(s.data());
        envp.push_back(nullptr);
    }
};

int DecodeStatus(int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

// In the child between fork and exec.
[[noreturn]] void ExecChild(ExecArguments& exec, const ChildOptions& options, int stdoutFd,
                            int stderrFd = -1) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (options.inheritFd >= 0)
        fcntl(options.inheritFd, F_SETFD, 0);
    if (options.quiet) {
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
    }
    if (stdoutFd >= 0)
        dup2(stdoutFd, STDOUT_FILENO);
    if (stderrFd >= 0)
        dup2(stderrFd, STDERR_FILENO);
    if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0)
        _exit(126);
    execvpe(exec.argv[0], exec.argv.data(), exec.envp.data());
    _exit(127);
}

} // namespace

std::optional<ChildProcess> ChildProcess::Start(const std::vector<std::string>& argv,
                                                const ChildOptions& options) {
    if (argv.empty())
        return std::nullopt;
    ExecArguments exec(argv, options.environment);
    const pid_t pid = fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0)
        ExecChild(exec, options, -1);
    return ChildProcess(pid);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)), status_(other.status_) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        if (pid_ > 0)
            Terminate();
        pid_ = std::exchange(other.pid_, -1);
        status_ = other.status_;
    }
    return *this;
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0)
        Terminate();
}

bool ChildProcess::Running() {
    return pid_ > 0 && !Wait(0ms).has_value();
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds timeout) {
    if (status_ || pid_ <= 0)
        return status_;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            status_ = DecodeStatus(status);
            return status_;
        }
        if (done < 0 && errno != EINTR) {
            status_ = -1;
            return status_;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(10ms);
    }
}

int ChildProcess::Terminate(std::chrono::milliseconds grace) {
    if (pid_ <= 0)
        return -1;
    if (!status_) {
        kill(pid_, SIGTERM);
        if (!Wait(grace)) {
            kill(pid_, SIGKILL);
            Wait(5000ms);
        }
    }
    pid_ = -1;
    return status_.value_or(-1);
}

CommandResult RunCommand(const std::vector<std::string>& argv, const CommandOptions& options) {
    CommandResult result;
    if (argv.empty())
        return result;
    // Pipes: stdout, stdin and (when captured) stderr.
    int output[2] = {-1, -1};
    int input[2] = {-1, -1};
    int errors[2] = {-1, -1};
    auto closeAll = [&] {
        for (int* pair : {output, input, errors}) {
            for (int i = 0; i < 2; ++i) {
                if (pair[i] >= 0)
                    close(pair[i]);
                pair[i] = -1;
            }
        }
    };
    if (pipe2(output, O_CLOEXEC) != 0 || pipe2(input, O_CLOEXEC) != 0 ||
        (options.captureErrors && pipe2(errors, O_CLOEXEC) != 0)) {
        closeAll();
        return result;
    }
    ExecArguments exec(argv, options.environment);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(input[0], STDIN_FILENO);
        ExecChild(exec, ChildOptions{}, output[1], errors[1]);
    }
    close(std::exchange(output[1], -1));
    close(std::exchange(input[0], -1));
    if (errors[1] >= 0)
        close(std::exchange(errors[1], -1));
    if (pid < 0) {
        closeAll();
        return result;
    }
    ChildProcess child(pid);
    if (!options.input.empty()) {
        std::signal(SIGPIPE, SIG_IGN);
        std::size_t written = 0;
        while (written < options.input.size()) {
            const ssize_t count =
                write(input[1], options.input.data() + written, options.input.size() - written);
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0)
                break;
            written += static_cast<std::size_t>(count);
        }
    }
    close(std::exchange(input[1], -1));

    // The open pipes and where their bytes go.
    std::vector<std::pair<int, std::string*>> streams = {{output[0], &result.output}};
    if (errors[0] >= 0)
        streams.emplace_back(errors[0], &result.errors);
    const auto deadline = std::chrono::steady_clock::now() + options.timeout;
    while (true) {
        const bool exited = child.Wait(0ms).has_value();
        // After the exit, take what is already in the pipes and stop.
        while (!streams.empty()) {
            std::vector<pollfd> readable;
            for (const auto& stream : streams)
                readable.push_back({stream.first, POLLIN, 0});
            if (poll(readable.data(), readable.size(), exited ? 0 : 20) <= 0)
                break;
            for (std::size_t i = readable.size(); i-- > 0;) {
                if (readable[i].revents == 0)
                    continue;
                char buffer[4096];
                const ssize_t count = read(readable[i].fd, buffer, sizeof buffer);
                if (count < 0 && errno == EINTR)
                    continue;
                if (count <= 0)
                    streams.erase(streams.begin() + static_cast<std::ptrdiff_t>(i));
                else
                    streams[i].second->append(buffer, static_cast<std::size_t>(count));
            }
        }
        if (exited) {
            result.exitCode = *child.Wait(0ms);
            break;
        }
        if (streams.empty())
            std::this_thread::sleep_for(5ms);
        if (std::chrono::steady_clock::now() >= deadline) {
            child.Terminate(0ms);
            break;
        }
    }
    closeAll();
    return result;
}

std::optional<long> StatusKilobytes(pid_t pid, std::string_view field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    const std::string label = std::string(field) + ":";
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(label))
            return std::stol(line.substr(label.size()));
    }
    return std::nullopt;
}

} // namespace huegrab::xtest
