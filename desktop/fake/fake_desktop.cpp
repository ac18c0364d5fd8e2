// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/fake/fake_desktop.h"

#include <algorithm>
#include <cstdint>

namespace huegrab {

FakeDesktop::FakeDesktop(std::int32_t width, std::int32_t height, ColorValue fill)
    : width_(std::max(width, 1)), height_(std::max(height, 1)),
      screen_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

void FakeDesktop::Fill(ColorValue value) {
    std::fill(screen_.begin(), screen_.end(), value);
}

void FakeDesktop::SetPixel(std::int32_t x, std::int32_t y, ColorValue value) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
        screen_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                static_cast<std::size_t>(x)] = value;
}

std::optional<ScreenPoint> FakeDesktop::GetCursorPos() {
    if (failCursorPos)
        return std::nullopt;
    return pointer;
}

std::optional<ScreenPoint> FakeDesktop::PickPointByClick(std::string& whyNot) {
    ++picks;
    if (!picksByClick)
        return PointPicking::PickPointByClick(whyNot);
    if (duringPick)
        duringPick();
    if (!clickedPoint)
        whyNot = "no point was picked";
    return clickedPoint;
}

void FakeDesktop::SetCursorPos(std::int32_t x, std::int32_t y) {
    // Like a real screen, the pointer cannot leave it.
    pointer = {std::clamp(x, 0, width_ - 1), std::clamp(y, 0, height_ - 1)};
    cursorMoves.push_back({x, y});
}

ColorValue FakeDesktop::GetPixel(std::int32_t x, std::int32_t y) {
    ++pixelReads;
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return kInvalidColor;
    return screen_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

PixelBlock FakeDesktop::ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                                  std::int32_t height) {
    ++blockReads;
    PixelBlock block{left, top, std::max(width, 0), std::max(height, 0), {}};
    block.pixels.reserve(static_cast<std::size_t>(block.width) *
                         static_cast<std::size_t>(block.height));
    const int reads = pixelReads;
    for (std::int64_t y = top; y < std::int64_t{top} + block.height; ++y)
        for (std::int64_t x = left; x < std::int64_t{left} + block.width; ++x)
            block.pixels.push_back(
                x > INT32_MAX || y > INT32_MAX
                    ? kInvalidColor
                    : GetPixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)));
    pixelReads = reads; // one block is one read, not many
    return block;
}

std::uint32_t FakeDesktop::KeysPressed(std::span<const int> virtualKeys) {
    ++keyboardReads;
    std::uint32_t down = 0;
    for (std::size_t i = 0; i < virtualKeys.size() && i < 32; ++i)
        if (keysDown.count(virtualKeys[i]) > 0)
            down |= 1u << i;
    return down;
}

bool FakeDesktop::RegisterHotKey(int id, unsigned modifiers, int virtualKey) {
    const HotkeyKeys keys{modifiers, virtualKey};
    if (heldHotkeys.count(keys) > 0)
        return false;
    registeredHotkeys[id] = keys;
    return true;
}

void FakeDesktop::UnregisterHotKey(int id) {
    if (duringUnregisterHotKey)
        duringUnregisterHotKey();
    registeredHotkeys.erase(id);
}

void FakeDesktop::SetHotkeyHandler(std::function<void(const HotkeyPress&)> handler) {
    hotkeyHandler_ = std::move(handler);
}

bool FakeDesktop::PressHotkey(const HotkeyPress& press) {
    auto registered = registeredHotkeys.find(press.id);
    if (registered == registeredHotkeys.end() || !hotkeyHandler_)
        return false;
    hotkeyHandler_(press);
    return true;
}

WindowHandle FakeDesktop::WindowFromPoint(ScreenPoint point) {
    // In 64 bits: a window may reach past the largest 32-bit coordinate.
    for (const Window& window : windows)
        if (point.x >= window.left && point.y >= window.top &&
            point.x < std::int64_t{window.left} + window.width &&
            point.y < std::int64_t{window.top} + window.height)
            return window.handle;
    return 0;
}

std::vector<WindowHandle> FakeDesktop::TopLevelWindows() {
    std::vector<WindowHandle> handles;
    for (const Window& window : windows)
        handles.push_back(window.handle);
    return handles;
}

const FakeDesktop::Window* FakeDesktop::FindWindow(WindowHandle handle) const {
    for (const Window& window : windows)
        if (window.handle == handle)
            return &window;
    return nullptr;
}

std::string FakeDesktop::WindowText(WindowHandle window) {
    const Window* found = FindWindow(window);
    return found ? found->title.substr(0, kMaxWindowTextBytes) : std::string();
}

std::string FakeDesktop::ClassName(WindowHandle window) {
    const Window* found = FindWindow(window);
    return found ? found->className.substr(0, kMaxWindowTextBytes) : std::string();
}

} // namespace huegrab
