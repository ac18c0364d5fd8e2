// SPDX-License-Identifier: GPL-3.0-or-later
#include "color/color_texts.h"

#include "text/number_text.h"

namespace huegrab {

ColorTexts MakeColorTexts(const ColorSample& sample) {
    return ColorTexts{
        .hex = sample.hex,
        .value = DecimalText(sample.value),
        .rHex = sample.rHex,
        .gHex = sample.gHex,
        .bHex = sample.bHex,
        .r = DecimalText(sample.r),
        .g = DecimalText(sample.g),
        .b = DecimalText(sample.b),
        .h = DecimalText(sample.h),
        .s = DecimalText(sample.s),
        .l = DecimalText(sample.l),
    };
}

} // namespace huegrab
