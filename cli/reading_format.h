// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_model.h"
#include "desktop/screen_geometry.h"

#include <optional>
#include <string>
#include <string_view>

namespace huegrab::cli {

// The digit order of a colour's six-digit text. BBGGRR is what the window
// shows and the scripts this tool serves use; RRGGBB is how web pages and
// most graphics programs write a colour.
enum class HexOrder {
    Bgr, // BBGGRR
    Rgb, // RRGGBB
};

// Six upper-case digits of a colour value in the given order.
std::string HexText(ColorValue value, HexOrder order);

// A colour as the program prints it: read at a screen point, or looked up
// from a code (no point). `order` decides the hex field.
struct Reading {
    std::optional<ScreenPoint> point;
    ColorValue value = 0;
    HexOrder order = HexOrder::Bgr;
};

// "x=… y=… c=… hex=… r=… g=… b=… h=… s=… l=…"; without a point the line
// starts at "c=".
std::string FormatLine(const Reading& reading);

// One JSON object with the same fields: numbers as numbers, the hex
// texts as strings.
std::string FormatJson(const Reading& reading);

// Fills a template: {x} {y} {c} {hex} {rhex} {ghex} {bhex} {rrggbb} {r} {g}
// {b} {h} {s} {l} become the reading's texts, "{{" and "}}" stand for
// braces. {rrggbb} is RRGGBB whatever the reading's order.
struct Expansion {
    std::string text;
    std::string error; // non-empty when the template is bad; text is then empty
};
Expansion ExpandTemplate(std::string_view format, const Reading& reading);

} // namespace huegrab::cli
