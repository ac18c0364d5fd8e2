// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/bounded_read.h"
#include "platform/files.h"
#include "platform/win32/kernel_handles.h"
#include "platform/win32/wide_text.h"

#include <algorithm>
#include <thread>
#include <vector>
#include <windows.h>

// windows.h maps ReplaceFile to ReplaceFileA or ReplaceFileW; ours is meant.
#undef ReplaceFile

namespace huegrab::platform {
namespace {

// The system's words for an error code, without the trailing line break.
std::string ErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const win32::UniqueLocalMemory<wchar_t*> owned(buffer);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                             text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        return "system error " + std::to_string(error);
    return win32::ToUtf8(text);
}

Status LastError(std::string step) {
    return Status::Failure(std::move(step), ErrorText(::GetLastError()));
}

using File = win32::UniqueFile;

// Readers share everything, deletion included, so that a writer's replace
// is never refused while a reader has the file open.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool IsMissingError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH;
}

} // namespace

PathInfo Examine(const std::filesystem::path& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD error = ::GetLastError();
        if (IsMissingError(error))
            return {PathKind::Missing, {}};
        return {PathKind::Inaccessible, ErrorText(error)};
    }
    DWORD attributes = data.dwFileAttributes;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // A link: what it points to counts. Opening with no access rights
        // reads no data and cannot block.
        File target(::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        BY_HANDLE_FILE_INFORMATION info{};
        if (!target || !::GetFileInformationByHandle(target.Get(), &info)) {
            const DWORD error = ::GetLastError();
            if (IsMissingError(error))
                return {PathKind::Missing, {}};
            return {PathKind::Inaccessible, ErrorText(error)};
        }
        attributes = info.dwFileAttributes;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return {PathKind::Folder, {}};
    if (attributes & FILE_ATTRIBUTE_DEVICE)
        return {PathKind::Special, {}};
    return {PathKind::File, {}};
}

std::optional<FileContents> ReadFileBounded(const std::filesystem::path& path, std::size_t maxBytes,
                                            std::string* whyNot) {
    const auto fail = [whyNot](std::string reason) -> std::optional<FileContents> {
        if (whyNot)
            *whyNot = std::move(reason);
        return std::nullopt;
    };
    const PathInfo info = Examine(path);
    if (info.kind != PathKind::File) {
        return fail(info.kind == PathKind::Missing        ? "no such file"
                    : info.kind == PathKind::Inaccessible ? info.reason
                                                          : "not an ordinary file");
    }
    File file(::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return fail(ErrorText(::GetLastError()));
    // Only a disk file: never a pipe or a console that could block the read.
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK)
        return fail("not an ordinary file");
    // Room for what the file holds; more only should it have grown since.
    LARGE_INTEGER size{};
    const std::size_t sizeHint =
        ::GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0
            ? static_cast<std::size_t>(std::min<ULONGLONG>(size.QuadPart, maxBytes))
            : 0;
    DWORD error = ERROR_SUCCESS;
    std::optional<FileContents> contents =
        ReadUpToLimit(sizeHint, maxBytes, [&](char* buffer, std::size_t room) {
            DWORD read = 0;
            const auto chunk = static_cast<DWORD>(std::min<std::size_t>(room, 1u << 20));
            if (!::ReadFile(file.Get(), buffer, chunk, &read, nullptr)) {
                error = ::GetLastError();
                return std::optional<std::size_t>();
            }
            return std::optional<std::size_t>(read);
        });
    if (!contents)
        return fail(ErrorText(error));
    return contents;
}

Status EnsureFolder(const std::filesystem::path& folder) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error))
        return Status::Success();
    std::filesystem::create_directories(folder, error);
    // Another program may have made it meanwhile. Asked without a place for
    // the error, a folder that cannot be looked at would throw out of a save.
    std::error_code looked;
    if (error && !std::filesystem::is_directory(folder, looked))
        return Status::Failure("cannot create the folder", error.message());
    return Status::Success();
}

Status CheckMayWrite(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return Status::Failure("cannot write", "the file is read-only");
    File file(::CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        // Another program holds the file open without sharing writing: the
        // rights were granted before the share check refused; the replace
        // waits such a reader out.
        const DWORD error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
            return Status::Success();
        return Status::Failure("cannot write", ErrorText(error));
    }
    return Status::Success();
}

namespace {

// Another program has the file open in a way that refuses the step.
bool IsBusyError(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
           error == ERROR_LOCK_VIOLATION;
}

// The old file's attributes and access list go to the new one before it
// takes the name, as far as the system lets this user copy them.
void KeepAttributesAndAccess(const std::filesystem::path& path,
                             const std::filesystem::path& tempPath) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return; // the first file: the folder's defaults
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (attributes & kKept)
        ::SetFileAttributesW(tempPath.c_str(), attributes & kKept);
    DWORD needed = 0;
    ::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0)
        return;
    std::vector<unsigned char> descriptor(needed);
    if (::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed,
                           &needed))
        ::SetFileSecurityW(tempPath.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

// For a reader that holds the file for long while sharing deletion: the
// old file steps aside to a name of its own (its reader keeps it), the new
// one takes the name, and only then does the old one go. Should the new one
// fail to move in, the old one comes back, so that a failure never leaves
// the name empty.
bool MoveInBesideAReader(const std::filesystem::path& tempPath, const std::filesystem::path& path) {
    // Only when the new file itself is free to move (a virus scanner may
    // be reading it): stepping aside for nothing would empty the name.
    if (!File(::CreateFileW(tempPath.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)))
        return false;
    std::filesystem::path aside = tempPath;
    aside += L".old";
    if (!::MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING))
        return false;
    if (::MoveFileExW(tempPath.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(aside.c_str());
        return true;
    }
    const DWORD error = ::GetLastError();
    ::MoveFileExW(aside.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
    ::SetLastError(error);
    return false;
}

// Moves the finished temporary file over `path` in one rename, so that a
// reader finds the old file or the new one and never no file, even across
// a crash: MoveFileExW with REPLACE_EXISTING swaps the name in one step,
// and WRITE_THROUGH comes back only once the move is on the disk.
// (ReplaceFileW is no such step: it may move the old file away first, and
// when it then fails, no file is left at the name.) While a reader holds
// the file the rename is refused: short reads are waited out, and a reader
// that stays gets the file moved in beside it.
bool MoveIntoPlace(const std::filesystem::path& tempPath, const std::filesystem::path& path) {
    // A read-only file stays as it is, as Windows' own rename over it
    // refuses (wine's would go ahead, and so would stepping aside).
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    KeepAttributesAndAccess(path, tempPath);
    const auto start = std::chrono::steady_clock::now();
    while (true) {
        if (::MoveFileExW(tempPath.c_str(), path.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        DWORD error = ::GetLastError();
        const auto waited = std::chrono::steady_clock::now() - start;
        if (IsBusyError(error) && waited >= std::chrono::milliseconds(250)) {
            if (MoveInBesideAReader(tempPath, path))
                return true;
            error = ::GetLastError();
        }
        if (!IsBusyError(error) || waited >= std::chrono::seconds(2)) {
            ::SetLastError(error);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

Status ReplaceFile(const std::filesystem::path& path, const std::filesystem::path& tempPath,
                   std::string_view bytes) {
    // What a killed writer left (a file, or a link: deleting a link never
    // touches its target). The lock makes the name ours; a read-only
    // attribute (a copy from read-only media) would refuse the delete.
    if (!::DeleteFileW(tempPath.c_str())) {
        DWORD error = ::GetLastError();
        if (error == ERROR_ACCESS_DENIED &&
            ::SetFileAttributesW(tempPath.c_str(), FILE_ATTRIBUTE_NORMAL) &&
            ::DeleteFileW(tempPath.c_str()))
            error = ERROR_SUCCESS;
        if (error != ERROR_SUCCESS && !IsMissingError(error))
            return Status::Failure("cannot remove an old temporary file", ErrorText(error));
    }
    File temp(::CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!temp)
        return LastError("cannot create the temporary file");
    const auto failWith = [&](std::string step) {
        Status status = LastError(std::move(step));
        temp.Reset();
        ::DeleteFileW(tempPath.c_str());
        return status;
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(temp.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return failWith("cannot write the temporary file");
        done += written;
    }
    if (!::FlushFileBuffers(temp.Get()))
        return failWith("cannot flush the temporary file");
    temp.Reset();
    if (!MoveIntoPlace(tempPath, path)) {
        Status status = LastError("cannot replace the file");
        ::DeleteFileW(tempPath.c_str());
        return status;
    }
    return Status::Success();
}

// Two one-byte ranges of the lock file: the queue in front, then the lock.
struct WriterLock::Held {
    File file;
    bool locked = false;
    ~Held() {
        if (locked) {
            OVERLAPPED at{};
            at.Offset = 1;
            ::UnlockFileEx(file.Get(), 0, 1, 0, &at);
        }
    }
};

namespace {

constexpr DWORD kQueueByte = 0;
constexpr DWORD kLockByte = 1;

bool TryLockByte(HANDLE file, DWORD offset) {
    OVERLAPPED at{};
    at.Offset = offset;
    return ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
}

void UnlockByte(HANDLE file, DWORD offset) {
    OVERLAPPED at{};
    at.Offset = offset;
    ::UnlockFileEx(file, 0, 1, 0, &at);
}

// Takes the byte by asking again every few milliseconds until the deadline.
// A blocking LockFileEx cannot be given a time limit, and the overlapped
// wait that could is not carried out everywhere the program runs (wine).
// Fairness comes from the queue byte, not from the wait.
bool LockByteBefore(HANDLE file, DWORD offset, std::chrono::steady_clock::time_point deadline) {
    auto pause = std::chrono::milliseconds(1);
    while (!TryLockByte(file, offset)) {
        if (::GetLastError() != ERROR_LOCK_VIOLATION && ::GetLastError() != ERROR_IO_PENDING)
            return false;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return false;
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace

std::optional<WriterLock> WriterLock::Acquire(const std::filesystem::path& lockPath,
                                              std::chrono::milliseconds wait, Status& failure) {
    auto held = std::make_unique<Held>();
    held->file = File(::CreateFileW(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held->file) {
        // A lock file this user may only read still locks.
        held->file = File(::CreateFileW(lockPath.c_str(), GENERIC_READ, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    if (!held->file) {
        failure = LastError("cannot open the lock file");
        return std::nullopt;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    const HANDLE file = held->file.Get();
    if (!LockByteBefore(file, kQueueByte, deadline)) {
        failure = Status::Failure("cannot lock", "another writer holds the settings file");
        return std::nullopt;
    }
    const bool locked = LockByteBefore(file, kLockByte, deadline);
    UnlockByte(file, kQueueByte);
    if (!locked) {
        failure = Status::Failure("cannot lock", "another writer holds the settings file");
        return std::nullopt;
    }
    held->locked = true;
    return WriterLock(std::move(held));
}

WriterLock::WriterLock(std::unique_ptr<Held> held) : held_(std::move(held)) {}
WriterLock::WriterLock(WriterLock&& other) noexcept = default;
WriterLock& WriterLock::operator=(WriterLock&& other) noexcept = default;
WriterLock::~WriterLock() = default;

bool IsWritableFolder(const std::string& folder) {
    // The only sure test is to try: ACLs, a read-only share or medium.
    const std::wstring probe = win32::FromUtf8(folder) + L"\\.huegrab-probe-" +
                               std::to_wstring(::GetCurrentProcessId()) + L"-" +
                               std::to_wstring(::GetTickCount64());
    File file(::CreateFileW(
        probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return bool(file);
}

} // namespace huegrab::platform
