// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/custom_point_reading.h"

namespace huegrab {

std::optional<CustomPointColor> ReadCustomPoint(ScreenPixels& screen, const std::string& xText,
                                                const std::string& yText) {
    if (xText.empty() || yText.empty())
        return std::nullopt;
    const std::optional<std::int32_t> y = ParseDecimalText(yText);
    if (!y)
        return std::nullopt;
    const std::optional<std::int32_t> x = ParseDecimalText(xText);
    if (!x)
        return std::nullopt;
    const ColorValue value = ReadScreenPixel(screen, *x, *y);
    if (value < 0)
        return std::nullopt;
    return CustomPointColor{value, MakeColorTexts(MakeColorSample(*x, *y, value))};
}

} // namespace huegrab
