// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_options.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace huegrab {
namespace {

// Qt's options (QGuiApplication, QApplication and the X11 platform), without
// their leading dash. Qt also takes them with two dashes.
constexpr std::array<std::string_view, 16> kQtOptionsWithValue = {"platform",
                                                                  "platformpluginpath",
                                                                  "platformtheme",
                                                                  "plugin",
                                                                  "qwindowgeometry",
                                                                  "geometry",
                                                                  "qwindowtitle",
                                                                  "title",
                                                                  "qwindowicon",
                                                                  "icon",
                                                                  "session",
                                                                  "display",
                                                                  "name",
                                                                  "style",
                                                                  "stylesheet",
                                                                  "visual"};
constexpr std::array<std::string_view, 7> kQtFlags = {
    "reverse", "widgetcount", "nograb", "dograb", "sync", "testability", "qmljsdebugger"};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The option's name without its dashes, and "=VALUE" cut off.
std::string_view BareName(std::string_view argument) {
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    return argument.substr(0, argument.find('='));
}

bool HasInlineValue(std::string_view argument) {
    return argument.find('=') != std::string_view::npos;
}

} // namespace

std::string QuotedArgument(std::string_view argument) {
    std::string quoted = "'";
    for (const char c : argument) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (c == '\r') {
            quoted += "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned>(byte));
            quoted += code;
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::variant<ProgramOptions, ProgramUsageError>
ReadProgramOptions(std::span<const std::string_view> arguments) {
    ProgramOptions options;
    std::optional<ProgramUsageError> firstError;
    const auto fail = [&](std::string message) {
        if (!firstError)
            firstError = ProgramUsageError{message + " (see huegrab --help)"};
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--lang") {
            if (i + 1 < arguments.size())
                options.language = std::string(arguments[++i]);
            else
                fail("--lang needs a value, zh or en");
        } else if (argument.starts_with("--lang=")) {
            options.language = std::string(argument.substr(7));
        } else if (argument.size() < 2 || argument[0] != '-') {
            fail("unexpected argument " + QuotedArgument(argument));
        } else if (Contains(kQtOptionsWithValue, BareName(argument))) {
            if (!HasInlineValue(argument) && ++i >= arguments.size())
                fail("option " + QuotedArgument(argument) + " needs a value");
        } else if (!Contains(kQtFlags, BareName(argument))) {
            fail("unknown option " + QuotedArgument(argument));
        }
    }
    if (options.help || options.version || !firstError)
        return options;
    return *firstError;
}

std::string ProgramHelpText() {
    return "Usage: huegrab [--lang zh|en] [Qt options]\n"
           "Picks points and colours off the screen: the window of Huegrab.\n"
           "\n"
           "Options:\n"
           "  --lang zh|en   the window's language (default: from [Window] Language of\n"
           "                 config.ini, then the locale)\n"
           "  -h, --help     print this help and exit\n"
           "  --version      print the version and exit\n"
           "\n"
           "Qt's own options work too, for instance -display NAME or -style NAME.\n"
           "The start/stop hotkey is Alt plus the key left of 1; [Hotkey] Key= in\n"
           "config.ini changes it (see the README). For scripts, see huegrab-cli --help.\n";
}

} // namespace huegrab
