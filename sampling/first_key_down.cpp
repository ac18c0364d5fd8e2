// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/first_key_down.h"

namespace huegrab {

std::optional<std::size_t> FirstKeyDown(std::uint32_t down, std::size_t count) {
    for (std::size_t i = 0; i < count && i < 32; ++i)
        if (down & (1u << i))
            return i;
    return std::nullopt;
}

} // namespace huegrab
