// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_arguments.h"
#include "tests/cli/usage_cases.h"

#include <functional>
#include <gtest/gtest.h>

namespace huegrab::cli {
namespace {

using namespace std::chrono_literals;

ParsedArguments Parse(const std::vector<std::string>& arguments) {
    const std::vector<std::string_view> views(arguments.begin(), arguments.end());
    return ParseArguments(views);
}

TEST(CliArguments, EveryBadCommandLineIsAUsageErrorNamingItsArgument) {
    for (const auto& [arguments, message] : test::UsageCases()) {
        const ParsedArguments parsed = Parse(arguments);
        const auto* error = std::get_if<UsageError>(&parsed);
        ASSERT_NE(error, nullptr) << testing::PrintToString(arguments);
        EXPECT_EQ(error->message, message) << testing::PrintToString(arguments);
    }
}

struct RequestCase {
    std::vector<std::string> arguments;
    Request expected;
};

TEST(CliArguments, ConvertsEachCommandsArguments) {
    // A request of the command with the members `set` changes.
    const auto with = [](Command command, const std::function<void(Request&)>& set) {
        Request request;
        request.command = command;
        set(request);
        return request;
    };
    const auto same = [](Request&) {
    };
    const std::vector<RequestCase> cases = {
        {{"pointer"}, with(Command::Pointer, same)},
        {{"pixel"}, with(Command::Pixel, same)},
        {{"pixel", "-3", "0"},
         with(Command::Pixel,
              [](Request& r) {
                  r.point = {{-3, 0}};
              })},
        {{"pixel", "--json", "7", "8"},
         with(Command::Pixel,
              [](Request& r) {
                  r.point = {{7, 8}};
                  r.style = ReadingStyle::Json;
              })},
        {{"pixel", "1", "2", "--format={x},{y} {hex}"},
         with(Command::Pixel,
              [](Request& r) {
                  r.point = {{1, 2}};
                  r.style = ReadingStyle::Format;
                  r.format = "{x},{y} {hex}";
              })},
        {{"wait-pixel", "5", "6", "ff"},
         with(Command::WaitPixel,
              [](Request& r) {
                  r.point = {{5, 6}};
                  r.color = 0xFF;
              })},
        {{"wait-pixel", "--not", "5", "6", "CC6633", "--timeout", "0.25"},
         with(Command::WaitPixel,
              [](Request& r) {
                  r.point = {{5, 6}};
                  r.color = 0xCC6633;
                  r.untilDifferent = true;
                  r.timeout = 250ms;
              })},
        {{"search", "00ff00", "--region", "-10,20,30,40", "--tolerance", "255"},
         with(Command::Search,
              [](Request& r) {
                  r.color = 0x00FF00;
                  r.region = ScreenRect{-10, 20, 30, 40};
                  r.tolerance = 255;
              })},
        // --rgb: the colour read RRGGBB, kept as the value the desktop gives.
        {{"pixel", "--rgb", "1", "2"},
         with(Command::Pixel,
              [](Request& r) {
                  r.point = {{1, 2}};
                  r.order = HexOrder::Rgb;
              })},
        {{"wait-pixel", "5", "6", "#3366cc", "--rgb"},
         with(Command::WaitPixel,
              [](Request& r) {
                  r.point = {{5, 6}};
                  r.color = 0xCC6633;
                  r.order = HexOrder::Rgb;
              })},
        {{"search", "--rgb", "FF0000"},
         with(Command::Search,
              [](Request& r) {
                  r.color = 0x0000FF;
                  r.order = HexOrder::Rgb;
              })},
        {{"lookup", "--rgb", "--decimal", "255"},
         with(Command::Lookup,
              [](Request& r) {
                  r.color = 0xFF;
                  r.order = HexOrder::Rgb;
              })},
        {{"window-at", "1", "2"},
         with(Command::WindowAt,
              [](Request& r) {
                  r.point = {{1, 2}};
              })},
        {{"cursor-code"}, with(Command::CursorCode, same)},
        {{"cursor-code", "--method", "2"},
         with(Command::CursorCode, [](Request& r) { r.method = 2; })},
        {{"find", "--", "-title-"}, with(Command::Find, [](Request& r) { r.text = "-title-"; })},
        {{"lookup", "0000FF"}, with(Command::Lookup, [](Request& r) { r.color = 0xFF; })},
        // The lookup page's decimal rules: a fraction rounds half to even.
        {{"lookup", "--decimal", "12.5"}, with(Command::Lookup, [](Request& r) { r.color = 12; })},
        {{"lookup", "--decimal=16777215", "--json"},
         with(Command::Lookup,
              [](Request& r) {
                  r.color = 0xFFFFFF;
                  r.style = ReadingStyle::Json;
              })},
    };
    for (const auto& [arguments, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        const ParsedArguments parsed = Parse(arguments);
        const auto* request = std::get_if<Request>(&parsed);
        ASSERT_NE(request, nullptr) << std::get<UsageError>(parsed).message;
        EXPECT_EQ(request->command, expected.command);
        EXPECT_EQ(request->point, expected.point);
        EXPECT_EQ(request->style, expected.style);
        EXPECT_EQ(request->format, expected.format);
        EXPECT_EQ(request->order, expected.order);
        EXPECT_EQ(request->color, expected.color);
        EXPECT_EQ(request->untilDifferent, expected.untilDifferent);
        EXPECT_EQ(request->timeout, expected.timeout);
        EXPECT_EQ(request->region, expected.region);
        EXPECT_EQ(request->tolerance, expected.tolerance);
        EXPECT_EQ(request->text, expected.text);
        EXPECT_EQ(request->method, expected.method);
    }
}

TEST(CliArguments, HelpForTheProgramAndForEachCommand) {
    EXPECT_TRUE(std::holds_alternative<VersionRequest>(Parse({"--version"})));
    for (const char* flag : {"--help", "-h", "help"}) {
        const ParsedArguments parsed = Parse({flag});
        const auto* help = std::get_if<HelpRequest>(&parsed);
        ASSERT_NE(help, nullptr) << flag;
        EXPECT_FALSE(help->command);
    }
    const std::string programHelp = ProgramHelp();
    for (const Command command :
         {Command::Pointer, Command::Pixel, Command::WaitPixel, Command::Search, Command::WindowAt,
          Command::Windows, Command::Find, Command::CursorCode, Command::Lookup}) {
        const std::string name(CommandName(command));
        SCOPED_TRACE(name);
        EXPECT_NE(programHelp.find("  " + name + " "), std::string::npos);
        // --help wins over whatever else is on the line, bad arguments too.
        for (const auto& arguments :
             std::vector<std::vector<std::string>>{{name, "--help"},
                                                   {name, "x", "-h"},
                                                   {"help", name},
                                                   {name, "--bogus", "--help"},
                                                   {name, "-h", "--bogus"}}) {
            const ParsedArguments parsed = Parse(arguments);
            const auto* help = std::get_if<HelpRequest>(&parsed);
            ASSERT_NE(help, nullptr) << testing::PrintToString(arguments);
            EXPECT_EQ(help->command, command);
        }
        EXPECT_EQ(CommandHelp(command).rfind("Usage: huegrab-cli " + name, 0), 0u);
    }
}

TEST(CliArguments, NumberForms) {
    const std::vector<std::pair<std::string, std::optional<std::int32_t>>> whole = {
        {"0", 0},
        {"-0", 0},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"+5", std::nullopt},
        {" 5", std::nullopt},
        {"5 ", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"0x10", std::nullopt},
    };
    for (const auto& [text, value] : whole)
        EXPECT_EQ(ParseWholeNumber(text), value) << '"' << text << '"';

    const std::vector<std::pair<std::string, std::optional<std::chrono::milliseconds>>> seconds = {
        {"2", 2000ms},
        {"0.25", 250ms},
        {".5", 500ms},
        {"5.", 5000ms},
        {"0", 0ms},
        {"1.0009", 1000ms},
        {"9999999", 9999999000ms},
        {".", std::nullopt},
        {"", std::nullopt},
        {"-1", std::nullopt},
        {"1e3", std::nullopt},
        {"1.2.3", std::nullopt},
        {"10000000", std::nullopt},
        {"00000005", 5000ms},
    };
    for (const auto& [text, value] : seconds)
        EXPECT_EQ(ParseSeconds(text), value) << '"' << text << '"';

    const std::vector<std::pair<std::string, std::optional<ColorValue>>> colors = {
        {"ff", 0xFF},           {"CC6633", 0xCC6633},
        {"000000", 0},          {"1234567", std::nullopt},
        {" FF", std::nullopt},  {"FF\t", std::nullopt},
        {"0xFF", std::nullopt}, {"", std::nullopt},
        {"-1", std::nullopt},
    };
    for (const auto& [text, value] : colors)
        EXPECT_EQ(ParseColorArgument(text), value) << '"' << text << '"';

    const std::vector<std::pair<std::string, std::optional<ColorValue>>> webColors = {
        {"3366CC", 0xCC6633},
        {"#3366cc", 0xCC6633},
        {"FF0000", 0x0000FF},
        {"#0000FF", 0xFF0000},
        {"00FF00", 0x00FF00},
        {"#FFFFFF", 0xFFFFFF},
        {"#000000", 0},
        {"FFF", std::nullopt},
        {"#FF", std::nullopt},
        {"#", std::nullopt},
        {"", std::nullopt},
        {"##3366CC", std::nullopt},
        {"3366CC#", std::nullopt},
        {"# 3366C", std::nullopt},
        {"0x3366", std::nullopt},
    };
    for (const auto& [text, value] : webColors)
        EXPECT_EQ(ParseColorArgument(text, HexOrder::Rgb), value) << '"' << text << '"';

    EXPECT_EQ(ParseRegion("1,-2,3,4"), (ScreenRect{1, -2, 3, 4}));
    for (const char* bad : {"1,2,3,4,5", "1,2,3", "1,,3,4", "1,2,3,4,", "1,2,0,4", "a,2,3,4", ""})
        EXPECT_EQ(ParseRegion(bad), std::nullopt) << bad;
}

} // namespace
} // namespace huegrab::cli
