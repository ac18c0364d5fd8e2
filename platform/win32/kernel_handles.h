// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Owners of kernel objects and of memory the system allocated for us.

#include "platform/win32/unique_handle.h"

#include <windows.h>

namespace huegrab::win32 {

// A file: CreateFileW says "none" with INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
};
using UniqueFile = UniqueHandle<FileHandleTraits>;

// An event or another kernel object whose maker says "none" with nullptr.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// A block the system allocated with LocalAlloc for its answer
// (FormatMessageW, CommandLineToArgvW), given back with LocalFree.
template <class Pointer> struct LocalMemoryTraits {
    using Handle = Pointer;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle memory) noexcept { ::LocalFree(memory); }
};
template <class Pointer> using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits<Pointer>>;

} // namespace huegrab::win32
