// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_windows.h"

#include <optional>
#include <string>
#include <string_view>

namespace huegrab {

// The texts the small copy and paste buttons put on the clipboard or take
// from it. Field texts go in as they are; nothing here checks that they are
// numbers.

// A point as "x,y".
std::string PointCopyText(std::string_view x, std::string_view y);
// Three components (r, g, b or h, s, l) as "a,b,c".
std::string ComponentsCopyText(std::string_view first, std::string_view second,
                               std::string_view third);
// A colour code or a title between two double quotes; quotes inside stay
// as they are.
std::string QuotedCopyText(std::string_view text);

// What a coordinate paste writes: the two parts of a text with exactly one
// comma, spaces around each part removed; nullopt for any other text.
struct PastedPoint {
    std::string x;
    std::string y;
    friend bool operator==(const PastedPoint&, const PastedPoint&) = default;
};
std::optional<PastedPoint> SplitPastedPoint(std::string_view text);

// What a handle paste writes: the number the clipboard text starts with
// ("0x" also starts a hexadecimal one), in its shortest form; "0" for a
// text that starts with no number.
std::string PastedHandleText(std::string_view text);

// The handle a text starts with (read as a pasted one), rounded half to
// even; nullopt outside the 32-bit signed range.
std::optional<WindowHandle> HandleFromText(std::string_view text);

} // namespace huegrab
