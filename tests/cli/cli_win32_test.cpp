// The built huegrab-cli.exe on Windows (under wine when cross-compiled):
// the bytes it prints are the bytes a script reads.
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

// The program's standard output, byte for byte, and its exit status.
std::pair<std::string, int> RunCli(const std::string& arguments) {
    std::string program = HUEGRAB_CLI;
    if (program.starts_with('/'))
        program = "Z:" + program; // wine's drive for the host's root
    for (char& c : program) {
        if (c == '/')
            c = '\\';
    }
    std::FILE* pipe = _popen(("\"" + program + "\" " + arguments).c_str(), "rb");
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
    const auto [lookup, lookupStatus] = RunCli("lookup 0000FF");
    EXPECT_EQ(lookupStatus, 0);
    EXPECT_EQ(lookup, "c=255 hex=0000FF r=255 g=0 b=0 h=0 s=240 l=120\n");

    const auto [list, listStatus] = RunCli("windows");
    EXPECT_EQ(listStatus, 0);
    ASSERT_TRUE(list.ends_with("\r\n")) << list;
    EXPECT_EQ(list.find("\r\r"), std::string::npos) << list;
}

} // namespace
