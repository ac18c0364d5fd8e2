// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>

namespace huegrab::win32 {

// The one owner of a Windows handle: it gives the handle back when it goes,
// on every path, and moves but never copies. The traits say what a handle is
// and how it goes back:
//
//   struct Traits {
//       using Handle = HDC;
//       static Handle Invalid() noexcept;     // what "no handle" is
//       static void Close(Handle) noexcept;   // called once per valid handle
//   };
//
// Kernel handles have two "no handle" values (nullptr for most, and
// INVALID_HANDLE_VALUE for files), so each gets traits of its own.
template <class Traits> class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

    // Gives the handle up without closing it.
    [[nodiscard]] Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

    // Closes the handle held (if any) and takes `handle`.
    void Reset(Handle handle = Traits::Invalid()) noexcept {
        const Handle old = std::exchange(handle_, handle);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

private:
    Handle handle_ = Traits::Invalid();
};

} // namespace huegrab::win32
