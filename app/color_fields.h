#pragma once

#include "sampling/color_texts.h"

#include <string_view>

namespace huegrab {

class Form1;

// The fields one panel shows a colour in; an empty name is a form the
// panel does not show.
struct ColorFieldNames {
    std::string_view hex, value;
    std::string_view rHex, gHex, bHex;
    std::string_view r, g, b;
    std::string_view h, s, l;
};

inline constexpr ColorFieldNames kPickedFields{"得16",  "得10",  "得16r", "得16g", "得16b", "得10r",
                                               "得10g", "得10b", "得10h", "得10s", "得10l"};
inline constexpr ColorFieldNames kCustomPointFields{"自16",  "自10",  "自16r", "自16g",
                                                    "自16b", "自10r", "自10g", "自10b",
                                                    "自10h", "自10s", "自10l"};
inline constexpr ColorFieldNames kLookupFields{{},      {},      {},      {},      {},     "查10r",
                                               "查10g", "查10b", "查10h", "查10s", "查10l"};

// Writes the texts in the order the readouts are built: the code fields,
// the hexadecimal pairs, the decimal components, then H, S, L.
void WriteColorTexts(const Form1& form, const ColorFieldNames& fields, const ColorTexts& texts);

} // namespace huegrab
