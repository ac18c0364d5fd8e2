#include "sampling/screen_reads.h"

namespace huegrab {

std::optional<std::size_t> FirstKeyDown(DesktopServices& desktop, std::span<const int> keys) {
    const std::uint32_t down = desktop.KeysPressed(keys);
    for (std::size_t i = 0; i < keys.size() && i < 32; ++i)
        if (down & (1u << i))
            return i;
    return std::nullopt;
}

} // namespace huegrab
