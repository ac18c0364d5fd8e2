// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/clipboard_texts.h"

#include "text/blank_text.h"
#include "text/number_text.h"

#include <cmath>

namespace huegrab {
namespace {

// A handle is read from no more text than the handle field holds, so a
// huge clipboard is not scanned to its end.
constexpr std::size_t kMaxNumberText = 32767;

// The number a handle text starts with. Besides the forms every number
// field takes, "0x" starts a hexadecimal number, as X tools (xwininfo,
// xprop, wmctrl) print window ids.
double ReadHandleNumber(std::string_view text) {
    const std::string_view number = TrimBlanks(text.substr(0, kMaxNumberText), " \t\n");
    if (number.size() > 2 && number[0] == '0' && (number[1] == 'x' || number[1] == 'X'))
        return ReadLeadingNumber("&H" + std::string(number.substr(2)));
    return ReadLeadingNumber(number);
}

} // namespace

std::string PointCopyText(std::string_view x, std::string_view y) {
    std::string text(x);
    text += ',';
    text += y;
    return text;
}

std::string ComponentsCopyText(std::string_view first, std::string_view second,
                               std::string_view third) {
    return PointCopyText(first, second) + ',' + std::string(third);
}

std::string QuotedCopyText(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

std::optional<PastedPoint> SplitPastedPoint(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos || text.find(',', comma + 1) != std::string_view::npos)
        return std::nullopt;
    return PastedPoint{std::string(TrimBlanks(text.substr(0, comma), " ")),
                       std::string(TrimBlanks(text.substr(comma + 1), " "))};
}

std::string PastedHandleText(std::string_view text) {
    return FormatShortestDouble(ReadHandleNumber(text));
}

std::optional<WindowHandle> HandleFromText(std::string_view text) {
    const double rounded = std::nearbyint(ReadHandleNumber(text));
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return std::nullopt;
    return static_cast<WindowHandle>(rounded);
}

} // namespace huegrab
