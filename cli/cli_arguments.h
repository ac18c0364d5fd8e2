// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/reading_format.h"
#include "color/color_model.h"
#include "desktop/screen_geometry.h"

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace huegrab::cli {

enum class Command {
    Pointer,
    Pixel,
    WaitPixel,
    Search,
    WindowAt,
    Windows,
    Find,
    CursorCode,
    Lookup,
};

// How a colour reading is printed.
enum class ReadingStyle {
    Line,   // x=… y=… c=… hex=… r=… g=… b=… h=… s=… l=…
    Format, // the --format template
    Json,
};

// One invocation, checked and converted. Members a command does not use
// keep their defaults.
struct Request {
    Command command = Command::Pointer;
    std::optional<ScreenPoint> point; // pixel, window-at, wait-pixel; none: the pointer
    ReadingStyle style = ReadingStyle::Line;
    std::string format;                               // the --format template
    HexOrder order = HexOrder::Bgr;                   // --rgb: colours read and printed RRGGBB
    ColorValue color = 0;                             // wait-pixel, search, lookup
    bool untilDifferent = false;                      // wait-pixel --not
    std::optional<std::chrono::milliseconds> timeout; // wait-pixel; none: no limit
    std::optional<ScreenRect> region;                 // search; none: the whole screen
    int tolerance = 0;                                // search, per component
    std::string text;                                 // find
    int method = 0;                                   // cursor-code
};

// What the command line asks for: help text to print, or a request to run.
struct HelpRequest {
    std::optional<Command> command; // none: the program's help
};
struct VersionRequest {};
// Bad usage, with one line that names the argument at fault.
struct UsageError {
    std::string message;
};
using ParsedArguments = std::variant<Request, HelpRequest, VersionRequest, UsageError>;

// Parses the arguments after the program name. Never throws; every
// malformed number, colour or option is a UsageError.
ParsedArguments ParseArguments(std::span<const std::string_view> arguments);

std::string_view CommandName(Command command);
std::string ProgramHelp();
std::string CommandHelp(Command command);

// The pieces, for tests and for the other units of the program.
// A whole number in the 32-bit range: an optional "-", then digits.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);
// BBGGRR: one to six hexadecimal digits, nothing else around them.
// RRGGBB: exactly six digits, after an optional "#"; fewer would leave it
// open whether "FFF" is a web shorthand or 000FFF.
std::optional<ColorValue> ParseColorArgument(std::string_view text, HexOrder order = HexOrder::Bgr);
// Non-negative seconds with an optional fraction ("2", "0.25"), to ms.
std::optional<std::chrono::milliseconds> ParseSeconds(std::string_view text);
// "X,Y,W,H" with W and H at least 1.
std::optional<ScreenRect> ParseRegion(std::string_view text);

} // namespace huegrab::cli
