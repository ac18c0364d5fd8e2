// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace huegrab {

// The current cursor image: premultiplied ARGB, one 32-bit value per pixel.
struct CursorImage {
    int width = 0;
    int height = 0;
    int xhot = 0;
    int yhot = 0;
    std::vector<std::uint32_t> argb; // row-major, width * height
};

// The desktop's role of the cursor's picture.
class CursorImageSource {
public:
    virtual ~CursorImageSource() = default;

    // The cursor image, or nullopt when it cannot be read.
    virtual std::optional<CursorImage> GetCursorImage() = 0;
};

} // namespace huegrab
