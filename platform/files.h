// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The file calls the settings file needs, so that the INI store above them
// stays portable. CMake builds one implementation: files_posix.cpp (Linux and
// other POSIX systems) or files_win32.cpp (Windows). Each function below says what every
// implementation must guarantee; the notes in brackets say how the POSIX file
// does it and what the Win32 one is expected to use.
//
// All functions are called on the user-interface thread of a program that
// may also run a second copy against the same file. None may block without a
// time limit, raise a signal or show anything: a failure comes back as a
// Status whose texts the caller prints to stderr.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace huegrab::platform {

// Success, or which step failed and the system's reason in words.
struct Status {
    std::string failedStep; // e.g. "cannot lock"; empty on success
    std::string reason;     // e.g. "Permission denied" (strerror, FormatMessage)

    bool Ok() const { return failedStep.empty(); }
    static Status Success() { return {}; }
    static Status Failure(std::string step, std::string why) {
        return {std::move(step), std::move(why)};
    }
};

enum class PathKind {
    Missing, // nothing there (a dangling link counts as missing)
    File,    // an ordinary file
    Folder,
    Special,     // a pipe, socket or device: never opened for reading or writing
    Inaccessible // cannot be examined; PathInfo::reason says why
};

struct PathInfo {
    PathKind kind = PathKind::Missing;
    std::string reason; // for Inaccessible
};

// What is at `path`, symbolic links followed. Must not open the path (a pipe
// would block). [POSIX: stat. Win32: GetFileAttributesExW.]
PathInfo Examine(const std::filesystem::path& path);

struct FileContents {
    std::string bytes;
    bool complete = true; // false: the file holds more than was read
};

// Opens, reads at most maxBytes and closes. nullopt when the path is not an
// ordinary file or cannot be read, with the reason in `whyNot` when given.
// Must never block on a pipe or a device and never take a lock. [POSIX: open O_NONBLOCK, fstat,
// read. Win32: CreateFileW with FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, so that a
// writer's replace is never refused because a reader has it open.]
std::optional<FileContents> ReadFileBounded(const std::filesystem::path& path, std::size_t maxBytes,
                                            std::string* whyNot = nullptr);

// Creates `folder` and its missing parents, readable only by the user (the
// settings may end up in a per-user folder). Success when it already is a
// folder. [POSIX: mkdir 0700. Win32: CreateDirectoryW with the default
// security, which already keeps a profile folder private.]
Status EnsureFolder(const std::filesystem::path& folder);

// Whether this user may change the existing file `path`, by the system's own
// rule for opening it to write: permission bits, ACLs, a read-only attribute
// or mount. A superuser passes where the system lets it write. Replacing a
// file by rename needs only the folder's permission, so writers must ask this
// first: a file the user may not write stays as it is.
// [POSIX: faccessat(W_OK, AT_EACCESS). Win32: the read-only attribute and
// CreateFileW(GENERIC_WRITE) succeeding, then closing it at once.]
Status CheckMayWrite(const std::filesystem::path& path);

// Replaces `path` with `bytes` so that a reader sees the old file or the new
// one whole, never a mix, even across a crash, a kill or a full disk:
// - writes the bytes to `tempPath` (same folder as `path`) as a new file,
//   first removing whatever a killed writer left there (a file, or a link
//   someone planted: it is never followed), and flushes it to the disk;
// - gives the new file the old one's permissions (and owner where the
//   system allows it); a first file gets the system's defaults;
// - moves it over `path` in one atomic step, then flushes the folder entry;
// - on failure removes `tempPath` and leaves `path` untouched.
// The caller holds the WriterLock of `path`, so `tempPath` is its own.
// [POSIX: unlink, open O_CREAT|O_EXCL, fchmod/fchown, fsync, rename,
// fsync of the folder. Win32: MoveFileExW(MOVEFILE_REPLACE_EXISTING |
// MOVEFILE_WRITE_THROUGH) after FlushFileBuffers, the old file's attributes
// and DACL copied first; not ReplaceFileW, which can leave no file behind.]
Status ReplaceFile(const std::filesystem::path& path, const std::filesystem::path& tempPath,
                   std::string_view bytes);

// An exclusive writer lock on the file `lockPath` (created when missing),
// held until the object is destroyed or the process ends, however it ends.
// Two objects exclude each other even within one process.
//
// Fairness: a writer that waits must get the lock when it is released, even
// if the holder asks again at once, so a busy writer cannot starve another.
// The way to get that from the system's locks is a queue in front of the
// lock: a writer takes the queue, then the lock, then lets the queue go, so
// that a holder that asks again queues behind the writer already waiting.
// The wait ends after `wait` at the latest. A failed Acquire keeps nothing:
// a wait it gave up on is let go the moment it is granted.
// [POSIX: flock on `lockPath` and on `lockPath` + "-queue"; when either is
// busy, blocking flocks on a helper thread, which the kernel wakes at the
// release: no signal, no polling. Win32: LockFileEx on two byte ranges of
// one file (queue, lock) with an overlapped handle, waiting on its event
// with WaitForSingleObject(wait) and CancelIoEx on a time-out.]
class WriterLock {
public:
    static std::optional<WriterLock> Acquire(const std::filesystem::path& lockPath,
                                             std::chrono::milliseconds wait, Status& failure);

    WriterLock(WriterLock&& other) noexcept;
    WriterLock& operator=(WriterLock&& other) noexcept;
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;
    ~WriterLock();

    struct Held; // the platform's handle

private:
    explicit WriterLock(std::unique_ptr<Held> held);
    std::unique_ptr<Held> held_;
};

// Whether files can be created in `folder` by this user.
// [POSIX: access(W_OK | X_OK). Win32: creating and deleting a probe file.]
bool IsWritableFolder(const std::string& folder);

} // namespace huegrab::platform
