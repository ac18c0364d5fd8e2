// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's command line: the parser, then the built program
// answering --help, --version and a bad option with no display at all.
#include "app/program_options.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#ifdef HUEGRAB_BINARY
#include <sys/wait.h>
#endif

namespace huegrab {
namespace {

struct OptionsCase {
    std::vector<std::string_view> arguments;
    bool help = false;
    bool version = false;
    std::optional<std::string> language{};
    std::string error{}; // a part of the message; empty when the line is fine
};

TEST(ProgramOptions, ReadsOursPassesQtsAndNamesWhatItDoesNotKnow) {
    const std::vector<OptionsCase> cases = {
        {.arguments = {}},
        {.arguments = {"--help"}, .help = true},
        {.arguments = {"-h", "--bogus"}, .help = true},
        {.arguments = {"--version", "x"}, .version = true},
        {.arguments = {"--lang", "en"}, .language = "en"},
        {.arguments = {"--lang=zh", "-display", ":3", "--style", "fusion", "-reverse"},
         .language = "zh"},
        {.arguments = {"-style=fusion", "--platform=xcb", "-sync"}},
        {.arguments = {"--lang"}, .error = "--lang needs a value"},
        {.arguments = {"--bogus"}, .error = "unknown option '--bogus'"},
        {.arguments = {"-display"}, .error = "option '-display' needs a value"},
        {.arguments = {"--lang", "en", "stray"}, .error = "unexpected argument 'stray'"},
        {.arguments = {"--a\nb\x1b"}, .error = "unknown option '--a\\nb\\x1B'"},
    };
    for (const OptionsCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const auto read = ReadProgramOptions(c.arguments);
        if (!c.error.empty()) {
            const auto* error = std::get_if<ProgramUsageError>(&read);
            ASSERT_NE(error, nullptr);
            EXPECT_NE(error->message.find(c.error), std::string::npos) << error->message;
            EXPECT_EQ(error->message.find('\n'), std::string::npos);
            continue;
        }
        const auto* options = std::get_if<ProgramOptions>(&read);
        ASSERT_NE(options, nullptr) << std::get<ProgramUsageError>(read).message;
        EXPECT_EQ(options->help, c.help);
        EXPECT_EQ(options->version, c.version);
        EXPECT_EQ(options->language, c.language);
    }
}

#ifdef HUEGRAB_BINARY
struct ProgramRun {
    int status = -1;
    std::string output; // stdout and stderr together
};

ProgramRun RunWithoutDisplay(const std::string& arguments) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                std::string(HUEGRAB_BINARY) + " " + arguments + " 2>&1";
    ProgramRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 512> buffer{};
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        run.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(ProgramOptions, TheProgramAnswersWithoutADisplay) {
    const ProgramRun help = RunWithoutDisplay("--help");
    EXPECT_EQ(help.status, 0) << help.output;
    EXPECT_NE(help.output.find("--lang zh|en"), std::string::npos) << help.output;
    const ProgramRun version = RunWithoutDisplay("--version");
    EXPECT_EQ(version.status, 0) << version.output;
    EXPECT_EQ(version.output, "huegrab " HUEGRAB_VERSION "\n");
    const ProgramRun bad = RunWithoutDisplay("--lang en --frobnicate");
    EXPECT_EQ(bad.status, 2) << bad.output;
    EXPECT_EQ(bad.output, "huegrab: unknown option '--frobnicate' (see huegrab --help)\n");
}
#endif

} // namespace
} // namespace huegrab
