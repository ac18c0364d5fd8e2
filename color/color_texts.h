// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_model.h"

#include <string>

namespace huegrab {

// The texts every colour readout shows: the picked values, the custom point
// and the colour-code lookup all fill their fields from this one record.
struct ColorTexts {
    std::string hex;   // six digits, BBGGRR
    std::string value; // decimal colour value, "-1" when unreadable
    std::string rHex, gHex, bHex;
    std::string r, g, b;
    std::string h, s, l;
    friend bool operator==(const ColorTexts&, const ColorTexts&) = default;
};

ColorTexts MakeColorTexts(const ColorSample& sample);

} // namespace huegrab
