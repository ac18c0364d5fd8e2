// SPDX-License-Identifier: GPL-3.0-or-later
// The built huegrab-cli.exe on Windows (under wine when cross-compiled):
// the bytes it prints are the bytes a script reads.
#include "desktop/win32/win32_window_handle.h"
#include "tests/win32/support/test_windows.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

// The program's standard output, byte for byte, and its exit status.
std::pair<std::string, int> RunCli(const std::wstring& arguments) {
    const std::string path = HUEGRAB_CLI;
    std::wstring program(path.begin(), path.end());
    if (program.starts_with(L'/'))
        program = L"Z:" + program; // wine's drive for the host's root
    for (wchar_t& c : program) {
        if (c == L'/')
            c = L'\\';
    }
    // cmd /c drops the outer quotes of a line that starts with one.
    const std::wstring line = L"\"\"" + program + L"\" " + arguments + L"\"";
    std::FILE* pipe = _wpopen(line.c_str(), L"rb");
    if (!pipe)
        return {{}, -1};
    std::string out;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    return {out, _pclose(pipe)};
}

// Text mode would turn each "\n" into "\r\n", and the CR LF that ends a
// line of the window list into CR CR LF.
TEST(CliOnWin32, OutputIsWrittenAsItIsMeant) {
    // Both colour orders; the "#" of a web colour passes cmd untouched.
    for (const auto& [arguments, line] :
         {std::pair{L"lookup 0000FF", "c=255 hex=0000FF r=255 g=0 b=0 h=0 s=240 l=120\n"},
          std::pair{L"lookup --rgb #FF0000", "c=255 hex=FF0000 r=255 g=0 b=0 h=0 s=240 l=120\n"}}) {
        const auto [lookup, lookupStatus] = RunCli(arguments);
        EXPECT_EQ(lookupStatus, 0);
        EXPECT_EQ(lookup, line);
    }

    const auto [list, listStatus] = RunCli(L"windows");
    EXPECT_EQ(listStatus, 0);
    ASSERT_TRUE(list.ends_with("\r\n")) << list;
    EXPECT_EQ(list.find("\r\r"), std::string::npos) << list;
}

// A title outside the ANSI code page is found by the same text given on
// the command line.
TEST(CliOnWin32, FindTakesItsTextAsUnicode) {
    huegrab::win32test::TestWindowOptions options;
    options.title = L"huegrab cli caf\u00e9 \u6807\u9898";
    const auto window = huegrab::win32test::TestWindow::Create(options);
    ASSERT_NE(window, nullptr);
    const auto [found, status] = RunCli(L"find \"caf\u00e9 \u6807\u9898\"");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(found, "[1]" + std::to_string(huegrab::win32::ToHandle(window->Handle())) + "\r\n");
}

} // namespace
