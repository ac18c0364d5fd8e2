#include "sampling/screen_reads.h"

namespace huegrab {

bool IsKeyDown(DesktopServices& desktop, int virtualKey) {
    return desktop.IsKeyPressed(virtualKey);
}

ColorValue ReadScreenPixel(DesktopServices& desktop, std::int32_t x, std::int32_t y) {
    const ColorValue value = desktop.GetPixel(x, y);
    return value < 0 ? kInvalidColor : value;
}

} // namespace huegrab
