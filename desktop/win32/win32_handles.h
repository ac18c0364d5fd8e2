#pragma once

// Owners of the GDI and user32 resources the backend acquires: every one is
// given back when its owner goes, on every path.

#include <optional>
#include <utility>
#include <windows.h>

namespace huegrab::win32 {

// A screen device context from GetDC(nullptr), given back with ReleaseDC.
class ScreenDc {
public:
    ScreenDc() : dc_(::GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_)
            ::ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// A memory device context from CreateCompatibleDC, deleted with DeleteDC.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : dc_(::CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (dc_)
            ::DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// A GDI object (bitmap, brush) deleted with DeleteObject.
template <typename Handle> class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset() {
        if (handle_)
            ::DeleteObject(handle_);
        handle_ = nullptr;
    }

private:
    Handle handle_ = nullptr;
};

using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;

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
class OwnedWindow {
public:
    OwnedWindow() = default;
    explicit OwnedWindow(HWND window) : window_(window) {}
    ~OwnedWindow() {
        if (window_)
            ::DestroyWindow(window_);
    }
    OwnedWindow(OwnedWindow&& other) noexcept : window_(std::exchange(other.window_, nullptr)) {}
    OwnedWindow& operator=(OwnedWindow&& other) noexcept {
        if (this != &other) {
            if (window_)
                ::DestroyWindow(window_);
            window_ = std::exchange(other.window_, nullptr);
        }
        return *this;
    }
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;
    HWND Get() const { return window_; }
    explicit operator bool() const { return window_ != nullptr; }

private:
    HWND window_ = nullptr;
};

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
