// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/bounded_read.h"
#include "platform/files.h"
#include "platform/posix/unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace huegrab::platform {
namespace {

namespace fs = std::filesystem;

Status Failed(const char* step, int error) {
    return Status::Failure(step, std::strerror(error));
}

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

void SyncFolder(const fs::path& folder) {
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Valid()) {
        ::fsync(fd.Get()); // best effort: the rename itself is already atomic
    }
}

// Gives the new file the old one's permission bits and, where the rights
// allow it, its owner and group.
bool CopyOwnership(int fd, const struct stat& old) {
    if (::fchmod(fd, old.st_mode & 07777) != 0) {
        return false;
    }
    struct stat mine {};
    if (::fstat(fd, &mine) == 0 && (mine.st_uid != old.st_uid || mine.st_gid != old.st_gid)) {
        // Only possible with the rights to; otherwise the writer owns the new file.
        if (::fchown(fd, old.st_uid, old.st_gid) == 0) {
            ::fchmod(fd, old.st_mode & 07777); // chown clears set-id bits
        }
    }
    return true;
}

} // namespace

PathInfo Examine(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            return {PathKind::Missing, {}};
        }
        return {PathKind::Inaccessible, std::strerror(errno)};
    }
    if (S_ISREG(info.st_mode)) {
        return {PathKind::File, {}};
    }
    if (S_ISDIR(info.st_mode)) {
        return {PathKind::Folder, {}};
    }
    return {PathKind::Special, {}};
}

std::optional<FileContents> ReadFileBounded(const fs::path& path, std::size_t maxBytes,
                                            std::string* whyNot) {
    const auto fail = [&](int error) -> std::optional<FileContents> {
        if (whyNot != nullptr) {
            *whyNot = std::strerror(error);
        }
        return std::nullopt;
    };
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0) {
        return fail(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return fail(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    int error = 0;
    std::optional<FileContents> contents =
        ReadUpToLimit(static_cast<std::size_t>(info.st_size), maxBytes,
                      [&](char* buffer, std::size_t size) -> std::optional<std::size_t> {
                          while (true) {
                              const ssize_t got = ::read(fd.Get(), buffer, size);
                              if (got >= 0)
                                  return static_cast<std::size_t>(got);
                              if (errno != EINTR) {
                                  error = errno;
                                  return std::nullopt;
                              }
                          }
                      });
    if (!contents) {
        return fail(error);
    }
    return contents;
}

Status EnsureFolder(const fs::path& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode) ? Status::Success()
                                     : Failed("cannot create its folder", ENOTDIR);
    }
    const fs::path parent = folder.parent_path();
    if (!parent.empty() && parent != folder) {
        if (Status made = EnsureFolder(parent); !made.Ok()) {
            return made;
        }
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return Failed("cannot create its folder", errno);
    }
    return Status::Success();
}

Status CheckMayWrite(const fs::path& path) {
    // The effective ids decide, as they do for open().
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        return Failed("may not be written", errno);
    }
    return Status::Success();
}

Status ReplaceFile(const fs::path& path, const fs::path& tempPath, std::string_view bytes) {
    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0;

    // The lock makes the name ours: what is there was left by a writer that
    // was killed, and a fresh file (never a link found there) replaces it.
    if (::unlink(tempPath.c_str()) != 0 && errno != ENOENT) {
        return Failed("cannot remove an old temporary file", errno);
    }
    UniqueFd fd(::open(tempPath.c_str(),
                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666));
    if (!fd.Valid()) {
        return Failed("cannot create a temporary file", errno);
    }
    TempFileGuard guard(tempPath);
    if (!WriteAll(fd.Get(), bytes)) {
        return Failed("cannot write", errno);
    }
    if (replacing && !CopyOwnership(fd.Get(), old)) {
        return Failed("cannot keep its permissions", errno);
    }
    if (::fsync(fd.Get()) != 0) {
        return Failed("cannot flush", errno);
    }
    if (!fd.Close()) {
        return Failed("cannot close", errno);
    }
    if (::rename(tempPath.c_str(), path.c_str()) != 0) {
        return Failed("cannot replace", errno);
    }
    guard.Release();
    SyncFolder(FolderOf(path));
    return Status::Success();
}

struct WriterLock::Held {
    UniqueFd lock; // closing the last descriptor releases the flock
};

WriterLock::WriterLock(std::unique_ptr<Held> held) : held_(std::move(held)) {}
WriterLock::WriterLock(WriterLock&& other) noexcept = default;
WriterLock& WriterLock::operator=(WriterLock&& other) noexcept = default;
WriterLock::~WriterLock() = default;

namespace {

// Opens (creating) a lock file. A lock file another user made may be
// read-only to us; flock works on a read-only descriptor too.
UniqueFd OpenLockFile(const fs::path& path, int& error) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_NOCTTY | O_CLOEXEC, 0666));
    if (!fd.Valid() && errno == EACCES) {
        error = errno;
        fd = UniqueFd(::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC));
        if (!fd.Valid() && errno == ENOENT) {
            errno = error; // the file could not be made: that is the cause
        }
    }
    error = errno;
    return fd;
}

int Flock(int fd, int operation) {
    int result = 0;
    do {
        result = ::flock(fd, operation);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

// One writer's way through the queue to the lock, shared between the caller
// and the helper thread that blocks for it.
struct LockRequest {
    UniqueFd queue;
    UniqueFd lock;
    bool queued = false; // holds the queue

    std::mutex mutex;
    std::condition_variable changed;
    bool finished = false; // the helper is done, granted or not
    int error = 0;         // why not granted

    // The blocking part: the queue (unless held already), the lock, then
    // the queue goes to the next writer.
    int Complete() {
        if (!queued) {
            if (const int queueError = Flock(queue.Get(), LOCK_EX); queueError != 0) {
                return queueError;
            }
            queued = true;
        }
        const int lockError = Flock(lock.Get(), LOCK_EX);
        Flock(queue.Get(), LOCK_UN);
        queued = false;
        return lockError;
    }
};

} // namespace

std::optional<WriterLock> WriterLock::Acquire(const fs::path& lockPath,
                                              std::chrono::milliseconds wait, Status& failure) {
    auto request = std::make_shared<LockRequest>();
    int error = 0;
    request->lock = OpenLockFile(lockPath, error);
    if (request->lock.Valid()) {
        request->queue = OpenLockFile(fs::path(lockPath.string() + "-queue"), error);
    }
    if (!request->queue.Valid()) {
        failure = Failed("cannot open its lock file", error);
        return std::nullopt;
    }
    // Without anyone in the way, both are granted at once and no thread is
    // needed. Going for the lock only through the queue is what makes a
    // holder that asks again line up behind a waiting writer.
    if (Flock(request->queue.Get(), LOCK_EX | LOCK_NB) == 0) {
        request->queued = true;
        if (Flock(request->lock.Get(), LOCK_EX | LOCK_NB) == 0) {
            Flock(request->queue.Get(), LOCK_UN);
            return WriterLock(std::make_unique<Held>(Held{std::move(request->lock)}));
        }
    }
    // Block on a helper thread so the wait can end on time; the kernel wakes
    // it at the release. A request given up on closes its descriptors when
    // the helper finishes, which lets go of whatever it got by then.
    std::thread([request] {
        const int result = request->Complete();
        const std::lock_guard<std::mutex> guard(request->mutex);
        request->finished = true;
        request->error = result;
        request->changed.notify_all();
    }).detach();
    std::unique_lock<std::mutex> guard(request->mutex);
    if (!request->changed.wait_for(guard, wait, [&] { return request->finished; })) {
        failure = Status::Failure("cannot lock", "another writer kept the lock for too long");
        return std::nullopt;
    }
    if (request->error != 0) {
        failure = Failed("cannot lock", request->error);
        return std::nullopt;
    }
    return WriterLock(std::make_unique<Held>(Held{std::move(request->lock)}));
}

bool IsWritableFolder(const std::string& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

} // namespace huegrab::platform
