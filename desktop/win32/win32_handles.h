// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Owners of the GDI and user32 resources the backend acquires: every one is
// given back when its owner goes, on every path.

#include "platform/win32/unique_handle.h"

#include <optional>
#include <windows.h>

namespace huegrab::win32 {

// A screen device context from GetDC(nullptr), given back with ReleaseDC.
struct ScreenDcTraits {
    using Handle = HDC;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle dc) noexcept { ::ReleaseDC(nullptr, dc); }
};
using ScreenDc = UniqueHandle<ScreenDcTraits>;

inline ScreenDc OpenScreenDc() {
    return ScreenDc(::GetDC(nullptr));
}

// A memory device context from CreateCompatibleDC, deleted with DeleteDC.
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle dc) noexcept { ::DeleteDC(dc); }
};
using MemoryDc = UniqueHandle<MemoryDcTraits>;

// A GDI object (bitmap, brush) deleted with DeleteObject.
template <typename Object> struct GdiObjectTraits {
    using Handle = Object;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle object) noexcept { ::DeleteObject(object); }
};
using Bitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using Brush = UniqueHandle<GdiObjectTraits<HBRUSH>>;

// An object selected into a device context; the one it replaced goes back
// in when this goes, before the object itself may be deleted.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~Selection() {
        if (previous_ && previous_ != HGDI_ERROR)
            ::SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    explicit operator bool() const { return previous_ && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window this process made, destroyed with DestroyWindow.
struct OwnedWindowTraits {
    using Handle = HWND;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle window) noexcept { ::DestroyWindow(window); }
};
using OwnedWindow = UniqueHandle<OwnedWindowTraits>;

// A 32-bit top-down DIB section selected into its own memory DC: the pixels
// are readable in place as 0xAARRGGBB words, row by row.
class DibSurface {
public:
    DibSurface(HDC compatibleWith, int width, int height);
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;
    explicit operator bool() const {
        return bits_ != nullptr && selection_.has_value() && bool(*selection_);
    }
    HDC Dc() const { return dc_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Row-major, Width() * Height() words; flush GDI (GdiFlush) first.
    const DWORD* Pixels() const { return bits_; }
    void Fill(DWORD word);

private:
    MemoryDc dc_;
    Bitmap bitmap_;
    DWORD* bits_ = nullptr;
    int width_;
    int height_;
    // Declared last: put back before the bitmap is deleted.
    std::optional<Selection> selection_;
};

} // namespace huegrab::win32
