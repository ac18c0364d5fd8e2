// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_arguments.h"

#include "cli/one_line_text.h"
#include "cli/reading_format.h"
#include "lookup/color_code_lookup.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <vector>

namespace huegrab::cli {
namespace {

struct OptionSyntax {
    std::string_view name; // "--json"
    bool takesValue;
};

struct CommandSyntax {
    Command command;
    std::string_view name;
    std::vector<OptionSyntax> options;
    std::vector<std::string_view> positionals; // names; optional ones in []
    std::size_t required;                      // how many positionals must be there
    std::string_view summary;
    std::string_view details;
};

const std::vector<CommandSyntax>& Commands() {
    static const std::vector<CommandSyntax> commands = {
        {Command::Pointer,
         "pointer",
         {},
         {},
         0,
         "print the pointer position as x,y",
         "In a Wayland session the compositor tells no program where the pointer\n"
         "is. On sway and other wlroots compositors, with slurp installed, it asks\n"
         "you to click the point instead and prints that; Esc cancels (exit status\n"
         "1). Elsewhere in a Wayland session it ends with status 2 and says why.\n"},
        {Command::Pixel,
         "pixel",
         {{"--rgb", false}, {"--format", true}, {"--json", false}},
         {"X", "Y"},
         0,
         "print the colour of a screen point (the pointer's when X Y are left out)",
         "Prints one line: x=… y=… c=… hex=… r=… g=… b=… h=… s=… l=…\n"
         "c is the decimal colour value 0x00BBGGRR, hex its six digits BBGGRR,\n"
         "r g b the components 0-255, h s l hue, saturation and lightness 0-240.\n"
         "\n"
         "  --rgb          print hex as RRGGBB, the order web pages write colours in\n"
         "  --format TEXT  print TEXT with the fields {x} {y} {c} {hex} {r} {g} {b}\n"
         "                 {h} {s} {l} {rhex} {ghex} {bhex} {rrggbb} filled in ({rrggbb}\n"
         "                 is RRGGBB with or without --rgb); {{ and }} print braces.\n"
         "                 Example: --format '{x},{y} {hex}'\n"
         "  --json         print the fields as one JSON object\n"
         "\n"
         "The colour #3366CC (red 33, green 66, blue CC) in both orders:\n"
         "  huegrab-cli pixel 5 5        x=5 y=5 c=13395507 hex=CC6633 …   BBGGRR\n"
         "  huegrab-cli pixel --rgb 5 5  x=5 y=5 c=13395507 hex=3366CC …   RRGGBB\n"
         "\n"
         "Exit status 1 when the point is off the screen.\n"
         "\n"
         "Without X Y in a Wayland session, on sway and other wlroots compositors\n"
         "with slurp installed, it asks you to click the point to read; Esc\n"
         "cancels (exit status 1). Elsewhere in a Wayland session give X Y.\n"},
        {Command::WaitPixel,
         "wait-pixel",
         {{"--not", false}, {"--timeout", true}, {"--rgb", false}},
         {"X", "Y", "HEX"},
         3,
         "wait until a screen point shows (or stops showing) a colour",
         "HEX is the colour as one to six hexadecimal digits in BBGGRR order, the\n"
         "form the hex field of 'pixel' prints. Returns as soon as the pixel at X,Y\n"
         "has that colour and prints its reading as 'pixel' does.\n"
         "\n"
         "  --not              wait until the pixel has any other colour instead\n"
         "  --timeout SECONDS  give up after SECONDS (fractions allowed); exit status 1\n"
         "  --rgb              HEX is six digits RRGGBB (a leading # allowed), and\n"
         "                     the reading's hex is printed RRGGBB too\n"
         "\n"
         "The same wait in both orders:\n"
         "  huegrab-cli wait-pixel 100 200 CC6633            BBGGRR\n"
         "  huegrab-cli wait-pixel --rgb 100 200 '#3366CC'   RRGGBB\n"
         "\n"
         "Without --timeout it waits for as long as it takes. Where the X server\n"
         "reports screen changes it sleeps until something is drawn there.\n"},
        {Command::Search,
         "search",
         {{"--region", true}, {"--tolerance", true}, {"--rgb", false}},
         {"HEX"},
         1,
         "find the first pixel of a colour, scanning rows from the top-left",
         "HEX is the colour as one to six hexadecimal digits in BBGGRR order.\n"
         "Prints the first matching point as x,y; exit status 1 when there is none.\n"
         "\n"
         "  --region X,Y,W,H  search only this rectangle (default: the whole screen)\n"
         "  --tolerance N     let each of red, green and blue differ by up to N (0-255)\n"
         "  --rgb             HEX is six digits RRGGBB (a leading # allowed)\n"
         "\n"
         "The same search in both orders:\n"
         "  huegrab-cli search CC6633            BBGGRR\n"
         "  huegrab-cli search --rgb '#3366CC'   RRGGBB\n"},
        {Command::WindowAt,
         "window-at",
         {{"--json", false}},
         {"X", "Y"},
         0,
         "print the handle, title and class of the window at a point",
         "Prints three lines: the window handle in signed decimal, its title and its\n"
         "class name. Under a window manager the window is the one it manages there\n"
         "(over a title bar or a program's inner parts too), the window xprop and\n"
         "xdotool know. Without X Y the window under the pointer; exit status 1 when\n"
         "the pointer is on another screen. No window: handle 0 and two empty lines.\n"
         "\n"
         "  --json  print {\"handle\":N,\"title\":\"…\",\"class\":\"…\"} instead\n"},
        {Command::Windows,
         "windows",
         {{"--json", false}},
         {},
         0,
         "list the titled top-level windows, topmost first",
         "One line per window, [kkk]handle=title. Under a window manager the windows\n"
         "it manages, as it stacks them.\n"
         "\n"
         "  --json  print one JSON array of {\"handle\":N,\"title\":\"…\",\"class\":\"…\"}\n"},
        {Command::Find,
         "find",
         {{"--json", false}},
         {"TEXT"},
         1,
         "list the top-level windows whose title contains TEXT",
         "The match is exact, upper and lower case distinct; double quotes in TEXT\n"
         "are dropped (a copied title carries them). One line per window, [k]handle.\n"
         "Exit status 1 when no title matches.\n"
         "\n"
         "  --json  print one JSON array of {\"handle\":N,\"title\":\"…\",\"class\":\"…\"}\n"},
        {Command::CursorCode,
         "cursor-code",
         {{"--method", true}},
         {},
         0,
         "print the feature code of the current mouse cursor's shape",
         "  --method 0|1|2  the points read from the cursor image (default 0)\n"},
        {Command::Lookup,
         "lookup",
         {{"--decimal", true}, {"--rgb", false}, {"--format", true}, {"--json", false}},
         {"HEX"},
         0,
         "print the components and H/S/L of a colour code",
         "HEX is one to six hexadecimal digits in BBGGRR order; --decimal N gives\n"
         "the decimal colour value 0-16777215 instead. Prints c=… hex=… r=… g=… b=…\n"
         "h=… s=… l=…; --format and --json as for 'pixel' (without {x} and {y}).\n"
         "\n"
         "  --rgb  HEX is six digits RRGGBB (a leading # allowed), and hex is\n"
         "         printed RRGGBB; --decimal N stays the value 0x00BBGGRR\n"
         "\n"
         "The same colour in both orders:\n"
         "  huegrab-cli lookup CC6633           c=13395507 hex=CC6633 r=51 g=102 b=204 …\n"
         "  huegrab-cli lookup --rgb '#3366CC'  c=13395507 hex=3366CC r=51 g=102 b=204 …\n"},
    };
    return commands;
}

const CommandSyntax* FindCommand(std::string_view name) {
    for (const CommandSyntax& syntax : Commands()) {
        if (syntax.name == name)
            return &syntax;
    }
    return nullptr;
}

const CommandSyntax& SyntaxOf(Command command) {
    for (const CommandSyntax& syntax : Commands()) {
        if (syntax.command == command)
            return syntax;
    }
    return Commands().front();
}

bool LooksLikeOption(std::string_view token) {
    // "-5" is a negative coordinate, not an option.
    return token.size() > 1 && token[0] == '-' && !(token[1] >= '0' && token[1] <= '9');
}

std::string Quoted(std::string_view text) {
    return "\"" + OneLineText(text) + "\"";
}

// The command line of one command, split into its options and positionals.
struct SplitArguments {
    std::vector<std::pair<std::string_view, std::string_view>> options; // name, value
    std::vector<std::string_view> positionals;
    bool help = false;
};

std::variant<SplitArguments, UsageError> Split(const CommandSyntax& syntax,
                                               std::span<const std::string_view> tokens) {
    SplitArguments split;
    // Help wins over whatever else is on the line, a bad option too.
    for (const std::string_view token : tokens) {
        if (token == "--")
            break;
        if (token == "--help" || token == "-h") {
            split.help = true;
            return split;
        }
    }
    bool optionsEnded = false;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::string_view token = tokens[i];
        if (optionsEnded || !LooksLikeOption(token)) {
            split.positionals.push_back(token);
            continue;
        }
        if (token == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = token.find('=');
        const std::string_view name = token.substr(0, equals);
        const OptionSyntax* option = nullptr;
        for (const OptionSyntax& candidate : syntax.options) {
            if (candidate.name == name)
                option = &candidate;
        }
        if (!option)
            return UsageError{"unknown option " + OneLineText(name)};
        for (const auto& [seen, value] : split.options) {
            if (seen == name)
                return UsageError{std::string(name) + " is given twice"};
        }
        if (!option->takesValue) {
            if (equals != std::string_view::npos)
                return UsageError{std::string(name) + " takes no value"};
            split.options.emplace_back(name, std::string_view{});
        } else if (equals != std::string_view::npos) {
            split.options.emplace_back(name, token.substr(equals + 1));
        } else if (i + 1 < tokens.size()) {
            split.options.emplace_back(name, tokens[++i]);
        } else {
            return UsageError{std::string(name) + " needs a value"};
        }
    }
    if (split.positionals.size() > syntax.positionals.size()) {
        return UsageError{"unexpected argument " +
                          Quoted(split.positionals[syntax.positionals.size()])};
    }
    if (split.positionals.size() < syntax.required) {
        return UsageError{"missing " + std::string(syntax.positionals[split.positionals.size()])};
    }
    return split;
}

std::optional<std::string_view> OptionValue(const SplitArguments& split, std::string_view name) {
    for (const auto& [seen, value] : split.options) {
        if (seen == name)
            return value;
    }
    return std::nullopt;
}

// Reads an optional X Y pair: both or neither.
std::optional<UsageError> ReadPoint(const SplitArguments& split, std::size_t first,
                                    Request& request) {
    if (split.positionals.size() <= first)
        return std::nullopt;
    if (split.positionals.size() == first + 1)
        return UsageError{"missing Y"};
    const auto x = ParseWholeNumber(split.positionals[first]);
    if (!x)
        return UsageError{"X " + Quoted(split.positionals[first]) + " is not a whole number"};
    const auto y = ParseWholeNumber(split.positionals[first + 1]);
    if (!y)
        return UsageError{"Y " + Quoted(split.positionals[first + 1]) + " is not a whole number"};
    request.point = ScreenPoint{*x, *y};
    return std::nullopt;
}

std::optional<UsageError> ReadColor(std::string_view text, Request& request) {
    const auto color = ParseColorArgument(text, request.order);
    if (!color && request.order == HexOrder::Rgb)
        return UsageError{"HEX " + Quoted(text) +
                          " is not a colour: give six hexadecimal digits, RRGGBB"};
    if (!color)
        return UsageError{"HEX " + Quoted(text) +
                          " is not a colour: give one to six hexadecimal digits, BBGGRR"};
    request.color = *color;
    return std::nullopt;
}

std::optional<UsageError> ReadStyle(const SplitArguments& split, bool withPoint, Request& request) {
    const auto format = OptionValue(split, "--format");
    const bool json = OptionValue(split, "--json").has_value();
    if (format && json)
        return UsageError{"--format and --json exclude each other"};
    if (json)
        request.style = ReadingStyle::Json;
    if (format) {
        Reading probe;
        if (withPoint)
            probe.point = ScreenPoint{};
        const Expansion check = ExpandTemplate(*format, probe);
        if (!check.error.empty())
            return UsageError{"--format: " + check.error};
        request.style = ReadingStyle::Format;
        request.format = std::string(*format);
    }
    return std::nullopt;
}

std::optional<UsageError> Convert(const CommandSyntax& syntax, const SplitArguments& split,
                                  Request& request) {
    const auto& args = split.positionals;
    if (OptionValue(split, "--rgb"))
        request.order = HexOrder::Rgb;
    if (syntax.command == Command::WindowAt || syntax.command == Command::Windows ||
        syntax.command == Command::Find) {
        if (OptionValue(split, "--json"))
            request.style = ReadingStyle::Json;
    }
    switch (syntax.command) {
    case Command::Pointer:
    case Command::Windows:
        return std::nullopt;
    case Command::Pixel:
        if (auto error = ReadPoint(split, 0, request))
            return error;
        return ReadStyle(split, true, request);
    case Command::WindowAt:
        return ReadPoint(split, 0, request);
    case Command::WaitPixel: {
        if (auto error = ReadPoint(split, 0, request))
            return error;
        if (auto error = ReadColor(args[2], request))
            return error;
        request.untilDifferent = OptionValue(split, "--not").has_value();
        if (const auto timeout = OptionValue(split, "--timeout")) {
            request.timeout = ParseSeconds(*timeout);
            if (!request.timeout)
                return UsageError{"--timeout " + Quoted(*timeout) +
                                  " is not a number of seconds (0 or more)"};
        }
        return std::nullopt;
    }
    case Command::Search: {
        if (auto error = ReadColor(args[0], request))
            return error;
        if (const auto region = OptionValue(split, "--region")) {
            request.region = ParseRegion(*region);
            if (!request.region)
                return UsageError{"--region " + Quoted(*region) +
                                  " is not X,Y,W,H with whole numbers and W, H at least 1"};
        }
        if (const auto tolerance = OptionValue(split, "--tolerance")) {
            const auto value = ParseWholeNumber(*tolerance);
            if (!value || *value < 0 || *value > 255)
                return UsageError{"--tolerance " + Quoted(*tolerance) +
                                  " is not a whole number 0-255"};
            request.tolerance = *value;
        }
        return std::nullopt;
    }
    case Command::Find:
        request.text = std::string(args[0]);
        return std::nullopt;
    case Command::CursorCode:
        if (const auto method = OptionValue(split, "--method")) {
            const auto value = ParseWholeNumber(*method);
            if (!value || *value < 0 || *value > 2)
                return UsageError{"--method " + Quoted(*method) + " is not 0, 1 or 2"};
            request.method = *value;
        }
        return std::nullopt;
    case Command::Lookup: {
        const auto decimal = OptionValue(split, "--decimal");
        if (decimal && !args.empty())
            return UsageError{"give HEX or --decimal N, not both"};
        if (!decimal && args.empty())
            return UsageError{"missing HEX (or --decimal N)"};
        // The lookup page's own rules: 12.5 reads as 12; a value beyond
        // 0xFFFFFF or below 0 has no colour.
        if (decimal) {
            const LookupOutcome outcome =
                LookUpColorCode(CodeInput::Decimal, {}, std::string(*decimal));
            if (!outcome.swatch)
                return UsageError{"--decimal " + Quoted(*decimal) +
                                  " is not a colour value 0-16777215"};
            request.color = *outcome.swatch;
        } else {
            if (auto error = ReadColor(args[0], request))
                return error;
            if (request.order == HexOrder::Bgr) {
                const LookupOutcome outcome =
                    LookUpColorCode(CodeInput::Hexadecimal, std::string(args[0]), {});
                request.color = outcome.swatch.value_or(request.color);
            }
        }
        return ReadStyle(split, false, request);
    }
    }
    return std::nullopt;
}

std::string UsageLine(const CommandSyntax& syntax) {
    std::string line = "huegrab-cli " + std::string(syntax.name);
    for (const OptionSyntax& option : syntax.options) {
        line += " [" + std::string(option.name);
        if (option.takesValue)
            line += " …";
        line += "]";
    }
    for (std::size_t i = 0; i < syntax.positionals.size(); ++i) {
        const std::string name(syntax.positionals[i]);
        line += i < syntax.required ? " " + name : " [" + name + "]";
    }
    return line;
}

} // namespace

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
    // from_chars takes "-" but no "+", blanks or a fraction: exactly the form.
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end)
        return std::nullopt;
    return value;
}

std::optional<ColorValue> ParseColorArgument(std::string_view text, HexOrder order) {
    if (order == HexOrder::Rgb && text.starts_with('#'))
        text.remove_prefix(1);
    // The shared parser forgives blanks around the digits; an argument
    // holding them is a quoting slip, so it is refused here.
    if (text.empty() || text.front() == ' ' || text.front() == '\t' || text.back() == ' ' ||
        text.back() == '\t')
        return std::nullopt;
    if (order == HexOrder::Rgb && text.size() != 6)
        return std::nullopt;
    const auto value = ParseHexColorText(text);
    if (!value || order == HexOrder::Bgr)
        return value;
    // RRGGBB read as a number has red and blue where BBGGRR has them swapped.
    return (*value & 0x00FF00) | (*value >> 16 & 0xFF) | (*value & 0xFF) << 16;
}

std::optional<std::chrono::milliseconds> ParseSeconds(std::string_view text) {
    const std::size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction =
        dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    auto digits = [](std::string_view part) {
        for (const char c : part) {
            if (c < '0' || c > '9')
                return false;
        }
        return true;
    };
    // Up to 9999999 s; leading zeros do not count.
    const std::size_t significant =
        whole.size() - std::min(whole.find_first_not_of('0'), whole.size());
    if (!digits(whole) || !digits(fraction) || significant > 7)
        return std::nullopt;
    std::int64_t ms = 0;
    for (const char c : whole)
        ms = ms * 10 + (c - '0');
    ms *= 1000;
    // Milliseconds from the first three decimals; finer ones are dropped.
    std::int64_t scale = 100;
    for (std::size_t i = 0; i < fraction.size() && i < 3; ++i, scale /= 10)
        ms += (fraction[i] - '0') * scale;
    return std::chrono::milliseconds(ms);
}

std::optional<ScreenRect> ParseRegion(std::string_view text) {
    std::array<std::int32_t, 4> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t comma = text.find(',');
        const bool last = i + 1 == parts.size();
        if (last != (comma == std::string_view::npos))
            return std::nullopt;
        const auto value = ParseWholeNumber(text.substr(0, comma));
        if (!value)
            return std::nullopt;
        parts[i] = *value;
        if (!last)
            text.remove_prefix(comma + 1);
    }
    if (parts[2] < 1 || parts[3] < 1)
        return std::nullopt;
    return ScreenRect{parts[0], parts[1], parts[2], parts[3]};
}

std::string_view CommandName(Command command) {
    return SyntaxOf(command).name;
}

ParsedArguments ParseArguments(std::span<const std::string_view> arguments) {
    if (arguments.empty())
        return UsageError{"no command given (see huegrab-cli --help)"};
    const std::string_view first = arguments.front();
    if (first == "--help" || first == "-h" || first == "help") {
        if (arguments.size() > 1) {
            if (const CommandSyntax* syntax = FindCommand(arguments[1]))
                return HelpRequest{syntax->command};
            return UsageError{"help: unknown command " + Quoted(arguments[1])};
        }
        return HelpRequest{};
    }
    if (first == "--version")
        return VersionRequest{};
    const CommandSyntax* syntax = FindCommand(first);
    if (!syntax) {
        return UsageError{(LooksLikeOption(first) ? "unknown option " : "unknown command ") +
                          Quoted(first) + " (see huegrab-cli --help)"};
    }
    const auto split = Split(*syntax, arguments.subspan(1));
    const std::string prefix = std::string(syntax->name) + ": ";
    if (const auto* error = std::get_if<UsageError>(&split))
        return UsageError{prefix + error->message};
    const auto& parts = std::get<SplitArguments>(split);
    if (parts.help)
        return HelpRequest{syntax->command};
    Request request;
    request.command = syntax->command;
    if (auto error = Convert(*syntax, parts, request))
        return UsageError{prefix + error->message};
    return request;
}

std::string ProgramHelp() {
    std::string help = "Usage: huegrab-cli COMMAND [ARGUMENTS]\n"
                       "Reads points, colours, windows and the cursor off the desktop for "
                       "scripts.\n\nCommands:\n";
    for (const CommandSyntax& syntax : Commands()) {
        std::string name(syntax.name);
        name.resize(14, ' ');
        help += "  " + name + std::string(syntax.summary) + "\n";
    }
    help += "\nColours are printed as c (decimal 0x00BBGGRR) and hex (six digits, BBGGRR;\n"
            "--rgb on pixel, wait-pixel, search and lookup reads and prints RRGGBB);\n"
            "H, S and L are on a 0-240 scale. 'huegrab-cli COMMAND --help' describes one\n"
            "command. Exit status: 0 done, 1 not found or timed out, 2 bad usage, no\n"
            "desktop (or the X server went away) or output that could not be written.\n";
    return help;
}

std::string CommandHelp(Command command) {
    const CommandSyntax& syntax = SyntaxOf(command);
    std::string help = "Usage: " + UsageLine(syntax) + "\n" + std::string(syntax.summary) + ".\n";
    if (!syntax.details.empty())
        help += "\n" + std::string(syntax.details);
    return help;
}

} // namespace huegrab::cli
