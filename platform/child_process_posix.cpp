// SPDX-License-Identifier: GPL-3.0-or-later
// A helper program as a child process: fork and execve, its standard output
// through a pipe, a failed exec reported through a second pipe that the
// exec closes.
#include "platform/child_process.h"
#include "platform/posix/unique_fd.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

extern char** environ;

namespace huegrab::platform {
namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

struct Pipe {
    UniqueFd read;
    UniqueFd write;
};

std::optional<Pipe> MakePipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return std::nullopt;
    return Pipe{UniqueFd(ends[0]), UniqueFd(ends[1])};
}

// Puts `fd` at `target` for the program to come; dup2 onto itself would
// keep close-on-exec set.
bool MoveTo(int fd, int target) {
    if (fd == target)
        return ::fcntl(fd, F_SETFD, 0) == 0;
    return ::dup2(fd, target) == target;
}

// The child's side, between fork and exec: async-signal-safe calls only,
// since other threads of the parent may have held locks at the fork.
[[noreturn]] void BecomeProgram(const char* path, char* const* argv, int input, int output,
                                int errors, int errorReport, pid_t parent) {
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    sigemptyset(&defaults.sa_mask);
    for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD})
        ::sigaction(signal, &defaults, nullptr);
#ifdef __linux__
    // A parent killed outright takes its helper with it; one that died
    // before this line is noticed here.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent)
        ::_exit(127);
#else
    (void)parent;
#endif
    if (MoveTo(input, STDIN_FILENO) && MoveTo(output, STDOUT_FILENO) &&
        MoveTo(errors, STDERR_FILENO))
        ::execve(path, argv, environ);
    const int error = errno;
    [[maybe_unused]] const ssize_t written = ::write(errorReport, &error, sizeof error);
    ::_exit(127);
}

// One output of the child, kept up to a limit.
struct Capture {
    int fd;
    std::string& text;
    bool& cut;
    bool open = true;
};

// Reads both outputs until both are at end of file, whichever the child
// writes first: a full pipe left unread would stop it for good, so past the
// limit the rest is read and dropped. False on a read error.
bool ReadAll(std::array<Capture, 2> captures, std::size_t limit) {
    std::array<char, 4096> buffer;
    while (captures[0].open || captures[1].open) {
        std::array<pollfd, 2> watched{};
        for (std::size_t i = 0; i < captures.size(); ++i)
            watched[i] = {captures[i].open ? captures[i].fd : -1, POLLIN, 0};
        if (::poll(watched.data(), watched.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (std::size_t i = 0; i < captures.size(); ++i) {
            Capture& capture = captures[i];
            if (!capture.open || watched[i].revents == 0)
                continue;
            const ssize_t got = ::read(capture.fd, buffer.data(), buffer.size());
            if (got < 0 && errno != EINTR && errno != EAGAIN)
                return false;
            if (got == 0)
                capture.open = false;
            if (got <= 0)
                continue;
            const std::size_t kept =
                std::min(static_cast<std::size_t>(got), limit - capture.text.size());
            capture.text.append(buffer.data(), kept);
            capture.cut = capture.cut || kept < static_cast<std::size_t>(got);
        }
    }
    return true;
}

} // namespace

// Makes `child` the one `stop` ends while it lives; Reap must come after
// this is gone, so that no signal reaches a pid taken over by another.
class RunningChild {
public:
    RunningChild(ChildStop* stop, pid_t child) : stop_(stop) {
        if (stop_ == nullptr)
            return;
        const std::lock_guard lock(stop_->mutex_);
        stop_->running_ = child;
        if (stop_->stopped_)
            ::kill(child, SIGTERM);
    }
    ~RunningChild() {
        if (stop_ == nullptr)
            return;
        const std::lock_guard lock(stop_->mutex_);
        stop_->running_ = 0;
    }
    RunningChild(const RunningChild&) = delete;
    RunningChild& operator=(const RunningChild&) = delete;

private:
    ChildStop* stop_;
};

void ChildStop::Stop() {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
    if (running_ != 0)
        ::kill(running_, SIGTERM);
}

namespace {

int Reap(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

} // namespace

std::optional<std::string> FindProgram(std::string_view program) {
    if (program.empty())
        return std::nullopt;
    if (program.find('/') != std::string_view::npos) {
        std::string path(program);
        return IsExecutableFile(path) ? std::optional(path) : std::nullopt;
    }
    const char* variable = std::getenv("PATH");
    std::string_view folders = variable ? variable : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        // An empty or relative entry names the current folder, which no
        // helper is taken from.
        if (!folder.empty() && folder.front() == '/') {
            std::string path(folder);
            path.append("/").append(program);
            if (IsExecutableFile(path))
                return path;
        }
        if (colon == std::string_view::npos)
            return std::nullopt;
        folders.remove_prefix(colon + 1);
    }
}

std::optional<ChildOutcome> RunProgram(std::string_view program,
                                       const std::vector<std::string>& arguments,
                                       std::size_t outLimit, std::string& whyNot, ChildStop* stop) {
    const std::optional<std::string> path = FindProgram(program);
    if (!path) {
        whyNot = std::string(program) + " is not installed";
        return std::nullopt;
    }
    // Everything the child uses is made before the fork.
    std::vector<std::string> texts{std::string(program)};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    const UniqueFd input(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    std::optional<Pipe> output = MakePipe();
    std::optional<Pipe> errors = MakePipe();
    std::optional<Pipe> errorReport = MakePipe();
    if (!input.Valid() || !output || !errors || !errorReport) {
        whyNot = std::string("cannot start ") + *path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child < 0) {
        whyNot = std::string("cannot start ") + *path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    if (child == 0) {
        BecomeProgram(path->c_str(), argv.data(), input.Get(), output->write.Get(),
                      errors->write.Get(), errorReport->write.Get(), parent);
    }
    output->write.Close();
    errors->write.Close();
    errorReport->write.Close();

    std::optional<RunningChild> running(std::in_place, stop, child);

    // The report pipe closes on a successful exec; an errno comes through
    // it otherwise.
    int execError = 0;
    ssize_t got;
    while ((got = ::read(errorReport->read.Get(), &execError, sizeof execError)) < 0 &&
           errno == EINTR) {
    }
    if (got == static_cast<ssize_t>(sizeof execError)) {
        running.reset();
        Reap(child);
        whyNot = std::string("cannot start ") + *path + ": " + std::strerror(execError);
        return std::nullopt;
    }
    ChildOutcome outcome;
    const bool read = ReadAll({Capture{output->read.Get(), outcome.out, outcome.outCut},
                               Capture{errors->read.Get(), outcome.err, outcome.errCut}},
                              outLimit);
    const int readError = errno;
    // A child still writing gets SIGPIPE rather than hanging the wait.
    output->read.Close();
    errors->read.Close();
    running.reset();
    const int status = Reap(child);
    if (WIFEXITED(status))
        outcome.exitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        outcome.signal = WTERMSIG(status);
    if (!read) {
        whyNot = std::string("cannot read what ") + *path + " printed: " + std::strerror(readError);
        return std::nullopt;
    }
    return outcome;
}

} // namespace huegrab::platform
