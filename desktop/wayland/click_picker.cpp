// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/click_picker.h"

#include "desktop/wayland/compositor_globals.h"
#include "platform/child_process.h"

#include <charconv>
#include <climits>
#include <cstdint>

namespace huegrab::wayland {
namespace {

constexpr std::string_view kPicker = "slurp";
// Far more than slurp prints for a point; anything longer is no point.
constexpr std::size_t kOutputLimit = 256;

std::optional<std::int32_t> ReadCoordinate(std::string_view text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The last line slurp wrote on stderr ("selection cancelled"), kept short.
std::string LastLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    if (const std::size_t newline = text.rfind('\n'); newline != std::string::npos)
        text.erase(0, newline + 1);
    if (text.size() > 120)
        text.resize(120);
    return text;
}

} // namespace

std::optional<ScreenPoint> ReadPickedPoint(std::string_view text) {
    if (text.ends_with('\n'))
        text.remove_suffix(1);
    const std::size_t space = text.find(' ');
    if (space == std::string_view::npos)
        return std::nullopt;
    const auto x = ReadCoordinate(text.substr(0, space));
    const auto y = ReadCoordinate(text.substr(space + 1));
    if (!x || !y)
        return std::nullopt;
    return ScreenPoint{*x, *y};
}

bool ClickPicker::Offered() {
    if (!offered_) {
        // slurp prints layout coordinates, which are the screenshot's only
        // where no output is scaled: elsewhere a picked point would read
        // another pixel.
        const auto compositor =
            platform::FindProgram(kPicker) ? ReadCompositorGlobals() : std::nullopt;
        offered_ = compositor && compositor->interfaces.contains("zwlr_layer_shell_v1") &&
                   !compositor->scaledOutput;
        if (compositor)
            layoutOrigin_ = compositor->layoutOrigin;
    }
    return *offered_;
}

std::optional<ScreenPoint> ClickPicker::Pick(std::string& whyNot) {
    // A clear overlay: the user chooses a colour by what they see, which a
    // tint would change; the crosshair pointer says a pick is on.
    std::string reason;
    const auto outcome = platform::RunProgram(kPicker, {"-p", "-b", "00000000", "-f", "%x %y"},
                                              kOutputLimit, reason, &stop_);
    if (!outcome) {
        whyNot = "cannot pick a point: " + reason;
        return std::nullopt;
    }
    if (!outcome->Succeeded()) {
        std::string said = LastLine(outcome->err);
        if (said.empty() && outcome->signal != 0)
            said = std::string("ended by signal ") + std::to_string(outcome->signal);
        else if (said.empty())
            said = "exit status " + std::to_string(outcome->exitStatus.value_or(-1));
        whyNot = "no point was picked (slurp: " + said + ")";
        return std::nullopt;
    }
    const auto point = outcome->outCut ? std::nullopt : ReadPickedPoint(outcome->out);
    if (!point) {
        whyNot = "slurp printed no point: \"" + LastLine(outcome->out) + "\"";
        return std::nullopt;
    }
    // 64-bit: a layout corner far out must not wrap the difference.
    const std::int64_t x = std::int64_t{point->x} - layoutOrigin_.x;
    const std::int64_t y = std::int64_t{point->y} - layoutOrigin_.y;
    if (x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX) {
        whyNot = "slurp printed a point off the desktop: \"" + LastLine(outcome->out) + "\"";
        return std::nullopt;
    }
    return ScreenPoint{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
}

} // namespace huegrab::wayland
