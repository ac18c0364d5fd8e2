// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace huegrab::cli::test {

// Command lines that are bad usage, and the one line that must say why
// (after "huegrab-cli: "). Shared by the parser's tests and the tests of
// the built program.
struct UsageCase {
    std::vector<std::string> arguments;
    std::string message;
};

inline const std::vector<UsageCase>& UsageCases() {
    static const std::vector<UsageCase> cases = {
        {{}, "no command given (see huegrab-cli --help)"},
        {{"pick"}, "unknown command \"pick\" (see huegrab-cli --help)"},
        {{"--verbose"}, "unknown option \"--verbose\" (see huegrab-cli --help)"},
        {{"help", "pick"}, "help: unknown command \"pick\""},
        {{"pointer", "1"}, "pointer: unexpected argument \"1\""},
        {{"pixel", "12a", "4"}, "pixel: X \"12a\" is not a whole number"},
        {{"pixel", "4", "1.5"}, "pixel: Y \"1.5\" is not a whole number"},
        {{"pixel", "4"}, "pixel: missing Y"},
        {{"pixel", "4", "5", "6"}, "pixel: unexpected argument \"6\""},
        {{"pixel", "2147483648", "0"}, "pixel: X \"2147483648\" is not a whole number"},
        {{"pixel", "--json", "--format", "{x}"}, "pixel: --format and --json exclude each other"},
        {{"pixel", "--format", "{red}"}, "pixel: --format: unknown field {red}"},
        {{"pixel", "--format"}, "pixel: --format needs a value"},
        {{"pixel", "--json=1"}, "pixel: --json takes no value"},
        {{"pixel", "--json", "--json"}, "pixel: --json is given twice"},
        {{"pixel", "--frmat", "x"}, "pixel: unknown option --frmat"},
        {{"wait-pixel", "1", "2"}, "wait-pixel: missing HEX"},
        {{"wait-pixel", "1", "2", "1234567"},
         "wait-pixel: HEX \"1234567\" is not a colour: give one to six hexadecimal digits, BBGGRR"},
        {{"wait-pixel", "1", "2", "#FF0000"},
         "wait-pixel: HEX \"#FF0000\" is not a colour: give one to six hexadecimal digits, BBGGRR"},
        {{"wait-pixel", "1", "2", "FF", "--timeout", "-1"},
         "wait-pixel: --timeout \"-1\" is not a number of seconds (0 or more)"},
        {{"wait-pixel", "1", "2", "FF", "--timeout=2s"},
         "wait-pixel: --timeout \"2s\" is not a number of seconds (0 or more)"},
        // --rgb: exactly six digits, one "#" at most, and only where a colour is read or printed.
        {{"wait-pixel", "1", "2", "FF", "--rgb"},
         "wait-pixel: HEX \"FF\" is not a colour: give six hexadecimal digits, RRGGBB"},
        {{"search", "--rgb", "##3366CC"},
         "search: HEX \"##3366CC\" is not a colour: give six hexadecimal digits, RRGGBB"},
        {{"search", "--rgb", "3366CC0"},
         "search: HEX \"3366CC0\" is not a colour: give six hexadecimal digits, RRGGBB"},
        {{"lookup", "--rgb", "#"},
         "lookup: HEX \"#\" is not a colour: give six hexadecimal digits, RRGGBB"},
        {{"pointer", "--rgb"}, "pointer: unknown option --rgb"},
        {{"window-at", "--rgb"}, "window-at: unknown option --rgb"},
        {{"pixel", "--rgb", "--rgb"}, "pixel: --rgb is given twice"},
        {{"search"}, "search: missing HEX"},
        {{"search", "GG"},
         "search: HEX \"GG\" is not a colour: give one to six hexadecimal digits, BBGGRR"},
        {{"search", "FF", "--region", "0,0,-5,10"},
         "search: --region \"0,0,-5,10\" is not X,Y,W,H with whole numbers and W, H at least 1"},
        {{"search", "FF", "--region", "0,0,10"},
         "search: --region \"0,0,10\" is not X,Y,W,H with whole numbers and W, H at least 1"},
        {{"search", "FF", "--region", "0,0,0,10"},
         "search: --region \"0,0,0,10\" is not X,Y,W,H with whole numbers and W, H at least 1"},
        {{"search", "FF", "--tolerance", "256"},
         "search: --tolerance \"256\" is not a whole number 0-255"},
        {{"window-at", "10"}, "window-at: missing Y"},
        {{"window-at", "10", "y"}, "window-at: Y \"y\" is not a whole number"},
        {{"windows", "all"}, "windows: unexpected argument \"all\""},
        {{"find"}, "find: missing TEXT"},
        {{"find", "a", "b"}, "find: unexpected argument \"b\""},
        {{"cursor-code", "--method", "3"}, "cursor-code: --method \"3\" is not 0, 1 or 2"},
        {{"cursor-code", "--method=-1"}, "cursor-code: --method \"-1\" is not 0, 1 or 2"},
        {{"cursor-code", "0"}, "cursor-code: unexpected argument \"0\""},
        {{"lookup"}, "lookup: missing HEX (or --decimal N)"},
        {{"lookup", "FF", "--decimal", "255"}, "lookup: give HEX or --decimal N, not both"},
        {{"lookup", "--decimal", "16777216"},
         "lookup: --decimal \"16777216\" is not a colour value 0-16777215"},
        {{"lookup", "--decimal", "-1"},
         "lookup: --decimal \"-1\" is not a colour value 0-16777215"},
        {{"lookup", "--format", "{x}", "FF"}, "lookup: --format: unknown field {x}"},
        // Control characters of an argument or option name are shown escaped:
        // the error stays one line.
        {{"pixel", "1\n2", "3"}, "pixel: X \"1\\n2\" is not a whole number"},
        {{"pick\r\n"}, "unknown command \"pick\\r\\n\" (see huegrab-cli --help)"},
        {{"pixel", "--fr\tmat", "x"}, "pixel: unknown option --fr\\tmat"},
        {{"pixel", "--format", "{re\nd}"}, "pixel: --format: unknown field {re\\nd}"},
        {{"search", "F\x1B[2J"},
         "search: HEX \"F\\x1B[2J\" is not a colour: give one to six hexadecimal digits, BBGGRR"},
        {{"find", "a", "b\x7F\v"}, "find: unexpected argument \"b\\x7F\\x0B\""},
    };
    return cases;
}

} // namespace huegrab::cli::test
