// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/win32/win32_screen.h"

#include "desktop/win32/win32_handles.h"

#include <algorithm>
#include <cstring>

namespace huegrab::win32 {

DibSurface::DibSurface(HDC compatibleWith, int width, int height)
    : dc_(::CreateCompatibleDC(compatibleWith)), width_(width), height_(height) {
    if (!dc_ || width <= 0 || height <= 0)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // negative: the first row is the top one
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = Bitmap(::CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !bits)
        return;
    bits_ = static_cast<DWORD*>(bits);
    selection_.emplace(dc_.Get(), bitmap_.Get());
}

void DibSurface::Fill(DWORD word) {
    if (!bits_)
        return;
    ::GdiFlush();
    std::fill_n(bits_, static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), word);
}

VirtualScreen CurrentVirtualScreen() {
    return VirtualScreen{
        ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
        ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

ColorValue ReadScreenPixel(std::int32_t x, std::int32_t y) {
    const VirtualScreen screen = CurrentVirtualScreen();
    if (x < screen.left || y < screen.top || std::int64_t{x} - screen.left >= screen.width ||
        std::int64_t{y} - screen.top >= screen.height)
        return kInvalidColor;
    const ScreenDc screenDc = OpenScreenDc();
    if (!screenDc)
        return kInvalidColor;
    // COLORREF is 0x00BBGGRR already; CLR_INVALID (all ones) is -1.
    return static_cast<ColorValue>(::GetPixel(screenDc.Get(), x, y));
}

PixelBlock ReadScreenBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                           std::int32_t height) {
    PixelBlock block = PixelBlock::OffScreen(left, top, width, height);

    // The block cut to the virtual screen, in 64 bits so that a block near
    // the coordinate limits cannot wrap.
    const VirtualScreen screen = CurrentVirtualScreen();
    const std::int64_t x0 = std::max<std::int64_t>(left, screen.left);
    const std::int64_t y0 = std::max<std::int64_t>(top, screen.top);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{left} + block.width,
                                                   std::int64_t{screen.left} + screen.width);
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t{top} + block.height,
                                                   std::int64_t{screen.top} + screen.height);
    if (x0 >= x1 || y0 >= y1)
        return block;
    const int cutWidth = static_cast<int>(x1 - x0);
    const int cutHeight = static_cast<int>(y1 - y0);

    const ScreenDc screenDc = OpenScreenDc();
    if (!screenDc)
        return block;
    DibSurface surface(screenDc.Get(), cutWidth, cutHeight);
    if (!surface)
        return block;
    // CAPTUREBLT takes layered windows too, as they show on the screen.
    if (!::BitBlt(surface.Dc(), 0, 0, cutWidth, cutHeight, screenDc.Get(), static_cast<int>(x0),
                  static_cast<int>(y0), SRCCOPY | CAPTUREBLT))
        return block;
    ::GdiFlush();
    const DWORD* pixels = surface.Pixels();
    for (int row = 0; row < cutHeight; ++row) {
        const std::size_t out = static_cast<std::size_t>(y0 - top + row) * block.width +
                                static_cast<std::size_t>(x0 - left);
        const DWORD* in = pixels + static_cast<std::size_t>(row) * cutWidth;
        std::transform(in, in + cutWidth, block.pixels.begin() + static_cast<std::ptrdiff_t>(out),
                       [](DWORD word) { return ColorFromDibWord(word); });
    }
    return block;
}

} // namespace huegrab::win32
