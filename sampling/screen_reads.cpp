#include "sampling/screen_reads.h"

namespace huegrab {

bool IsKeyDown(DesktopServices& desktop, int virtualKey) {
    return desktop.IsKeyPressed(virtualKey);
}

std::optional<std::size_t> FirstKeyDown(DesktopServices& desktop, std::span<const int> keys) {
    const std::uint32_t down = desktop.KeysPressed(keys);
    for (std::size_t i = 0; i < keys.size() && i < 32; ++i)
        if (down & (1u << i))
            return i;
    return std::nullopt;
}

ColorValue ReadScreenPixel(DesktopServices& desktop, std::int32_t x, std::int32_t y) {
    const ColorValue value = desktop.GetPixel(x, y);
    return value < 0 ? kInvalidColor : value;
}

} // namespace huegrab
