// SPDX-License-Identifier: GPL-3.0-or-later
// The RGB to H/S/L conversion on the 0-240 scale.
//
// Every named quantity below is a 32-bit float. Each right-hand side is
// evaluated in double and rounded to float when it is stored; only the final
// scaling by 240 stays in double before rounding half to even. About 0.6 % of
// all colours land exactly halfway between two integers, so keeping these
// float roundings is what makes (0, 1, 16) give hue 158 and (1, 63, 5)
// saturation 232. This file is compiled with -ffp-contract=off so that no
// multiply-add is fused, and x86-64 SSE arithmetic keeps no excess precision.

#include "color/color_model.h"

#include <cfloat>
#include <cmath>

// A float or double held in wider registers (x87) would skip the roundings
// this conversion depends on.
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
#error "RgbToHsl needs float and double evaluated in their own precision (use SSE2)"
#endif

namespace huegrab {
namespace {

// Rounds a double to the float that stores it.
inline float Store(double value) {
    return static_cast<float>(value);
}

inline float Larger(float p, float q) {
    return p > q ? p : q;
}
inline float Smaller(float p, float q) {
    return p > q ? q : p;
}

// float x 240 in double, rounded to nearest with ties to even (the default
// rounding mode, which this program never changes).
inline std::int16_t Scale240(float fraction) {
    return static_cast<std::int16_t>(std::nearbyint(static_cast<double>(fraction) * 240.0));
}

} // namespace

HslColor RgbToHsl(std::int16_t r, std::int16_t g, std::int16_t b) {
    const float rf = Store(static_cast<double>(r) / 255.0);
    const float gf = Store(static_cast<double>(g) / 255.0);
    const float bf = Store(static_cast<double>(b) / 255.0);

    const float max = Larger(Larger(rf, gf), bf);
    const float min = Smaller(Smaller(rf, gf), bf);
    const double maxD = max;
    const double minD = min;

    const float delta = Store(maxD - minD);
    const float light = Store((maxD + minD) / 2.0);

    HslColor result;
    result.l = Scale240(light);
    if (delta == 0.0f) {
        // A grey: fixed hue, no saturation, whatever its lightness.
        result.h = 160;
        result.s = 0;
        return result;
    }

    const double deltaD = delta;
    const float sat =
        light < 0.5f ? Store(deltaD / (maxD + minD)) : Store(deltaD / (2.0 - maxD - minD));

    const float dR = Store(((maxD - rf) / 6.0 + deltaD / 2.0) / deltaD);
    const float dG = Store(((maxD - gf) / 6.0 + deltaD / 2.0) / deltaD);
    const float dB = Store(((maxD - bf) / 6.0 + deltaD / 2.0) / deltaD);

    // The first component equal to the maximum, in the order red, green, blue,
    // picks the formula.
    float hue = 0.0f;
    if (rf == max) {
        hue = Store(static_cast<double>(dB) - dG);
    } else if (gf == max) {
        hue = Store(1.0 / 3.0 + dR - dB);
    } else {
        hue = Store(2.0 / 3.0 + dG - dR);
    }
    if (hue < 0.0f) {
        hue = Store(static_cast<double>(hue) + 1.0);
    }
    if (hue > 1.0f) {
        hue = Store(static_cast<double>(hue) - 1.0);
    }

    result.h = Scale240(hue);
    result.s = Scale240(sat);
    return result;
}

} // namespace huegrab
