#include "settings/ini_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace huegrab {
namespace {

namespace fs = std::filesystem;

void Report(const fs::path& path, const char* what, int error) {
    std::fprintf(stderr, "huegrab: settings file %s: %s: %s\n", path.c_str(), what,
                 std::strerror(error));
}

// Owns one file descriptor.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&&) = delete;
    ~UniqueFd() { Close(); }
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close itself went well (a deferred
    // write error may only show here).
    bool Close() {
        if (fd_ < 0) {
            return true;
        }
        const int result = ::close(std::exchange(fd_, -1));
        return result == 0 || errno == EINTR;
    }

private:
    int fd_;
};

// Removes a temporary file unless the rename has consumed it.
class TempFileGuard {
public:
    explicit TempFileGuard(fs::path path) : path_(std::move(path)) {}
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;
    ~TempFileGuard() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    void Release() { path_.clear(); }

private:
    fs::path path_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

fs::path FolderOf(const fs::path& path) {
    const fs::path folder = path.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// mkdir -p with 0700 for the folders it makes, as per-user config folders are.
bool EnsureFolder(const fs::path& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    const fs::path parent = folder.parent_path();
    if (!parent.empty() && parent != folder && !EnsureFolder(parent)) {
        return false;
    }
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

// A symbolic link is written through to the file it names.
fs::path WriteTarget(const fs::path& path) {
    std::error_code error;
    if (fs::is_symlink(path, error)) {
        const fs::path target = fs::canonical(path, error);
        if (!error) {
            return target;
        }
    }
    return path;
}

UniqueFd CreateTempBeside(const fs::path& path, fs::path& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::string stem = "." + path.filename().string() + ".tmp-" + std::to_string(::getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = FolderOf(path) / (stem + "-" + std::to_string(counter.fetch_add(1)));
        UniqueFd fd(::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.Valid() || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return UniqueFd();
}

void SyncFolder(const fs::path& folder) {
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Valid()) {
        ::fsync(fd.Get()); // best effort: the rename itself is already atomic
    }
}

} // namespace

bool IsOrdinaryFile(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<FileContents> ReadFileBounded(const fs::path& path, std::size_t maxBytes) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    FileContents contents;
    contents.bytes.resize(std::min<std::size_t>(static_cast<std::size_t>(info.st_size), maxBytes));
    std::size_t filled = 0;
    while (true) {
        if (filled == contents.bytes.size()) {
            if (filled >= maxBytes) {
                char probe = 0;
                ssize_t more = 0;
                do {
                    more = ::read(fd.Get(), &probe, 1);
                } while (more < 0 && errno == EINTR);
                contents.complete = more == 0;
                break;
            }
            // The file grew since fstat: keep reading in steps.
            contents.bytes.resize(std::min(maxBytes, filled + 65536));
        }
        const ssize_t got =
            ::read(fd.Get(), contents.bytes.data() + filled, contents.bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    contents.bytes.resize(filled);
    return contents;
}

bool ReplaceFileAtomically(const fs::path& path, std::string_view bytes) {
    if (!EnsureFolder(FolderOf(path))) {
        Report(path, "cannot create its folder", errno);
        return false;
    }
    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0;

    fs::path tempPath;
    UniqueFd fd = CreateTempBeside(path, tempPath);
    if (!fd.Valid()) {
        Report(path, "cannot create a temporary file", errno);
        return false;
    }
    TempFileGuard guard(tempPath);
    if (!WriteAll(fd.Get(), bytes)) {
        Report(path, "cannot write", errno);
        return false;
    }
    if (replacing) {
        if (::fchmod(fd.Get(), old.st_mode & 07777) != 0) {
            Report(path, "cannot keep its permissions", errno);
            return false;
        }
        struct stat mine {};
        if (::fstat(fd.Get(), &mine) == 0 &&
            (mine.st_uid != old.st_uid || mine.st_gid != old.st_gid)) {
            // Only possible with the rights to; otherwise the writer owns the new file.
            if (::fchown(fd.Get(), old.st_uid, old.st_gid) == 0) {
                ::fchmod(fd.Get(), old.st_mode & 07777);
            }
        }
    }
    if (::fsync(fd.Get()) != 0) {
        Report(path, "cannot flush", errno);
        return false;
    }
    if (!fd.Close()) {
        Report(path, "cannot close", errno);
        return false;
    }
    if (::rename(tempPath.c_str(), path.c_str()) != 0) {
        Report(path, "cannot replace", errno);
        return false;
    }
    guard.Release();
    SyncFolder(FolderOf(path));
    return true;
}

std::optional<FileLock> FileLock::Acquire(const fs::path& path, std::chrono::milliseconds wait) {
    const fs::path lockPath = FolderOf(path) / ("." + path.filename().string() + ".lock");
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EACCES) {
        fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0) {
        Report(path, "cannot open its lock file", errno);
        return std::nullopt;
    }
    FileLock lock(fd);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() >= deadline) {
            Report(path, "cannot lock", errno);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return lock;
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

FileLock::~FileLock() {
    if (fd_ >= 0) {
        ::close(fd_); // closing the last descriptor releases the flock
    }
}

EditOutcome EditFileLocked(const fs::path& path,
                           const std::function<bool(std::string& bytes)>& edit) {
    const fs::path target = WriteTarget(path);
    if (!EnsureFolder(FolderOf(target))) {
        Report(target, "cannot create its folder", errno);
        return EditOutcome::Failed;
    }
    const std::optional<FileLock> lock = FileLock::Acquire(target);
    if (!lock) {
        return EditOutcome::Failed;
    }
    std::string bytes;
    bool existed = false;
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) {
        std::optional<FileContents> contents = ReadFileBounded(target);
        if (!contents) {
            Report(target, "exists but cannot be read as a file", errno);
            return EditOutcome::Failed;
        }
        if (!contents->complete) {
            Report(target, "is too large to rewrite safely", EFBIG);
            return EditOutcome::Failed;
        }
        bytes = std::move(contents->bytes);
        existed = true;
    }
    const std::string before = bytes;
    if (!edit(bytes)) {
        return EditOutcome::Failed;
    }
    if (existed && bytes == before) {
        return EditOutcome::Unchanged;
    }
    return ReplaceFileAtomically(target, bytes) ? EditOutcome::Written : EditOutcome::Failed;
}

} // namespace huegrab
