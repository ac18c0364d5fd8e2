// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON of the window commands: whatever another program put into its
// title, the document stays valid JSON in valid UTF-8 and reads back as the
// title was.

#include "cli/window_json.h"

#include <gtest/gtest.h>

namespace huegrab::cli {
namespace {

TEST(JsonString, EscapesWhatJsonForbidsAndReplacesWhatIsNoUtf8) {
    const struct {
        std::string text;
        std::string json;
    } cases[] = {
        {"", "\"\""},
        {"plain – 标题 🎨", "\"plain – 标题 🎨\""},
        {"a\"b\\c/", "\"a\\\"b\\\\c/\""},
        {std::string("\n\r\t\x01\x1F\0x", 7), "\"\\u000a\\u000d\\u0009\\u0001\\u001f\\u0000x\""},
        {"\x7F\u0085\u2028", "\"\x7F\u0085\u2028\""}, // allowed in JSON as they are
        {"bad \xFF end", "\"bad \uFFFD end\""},
        {"\xC0\x80", "\"\uFFFD\uFFFD\""},                     // an overlong NUL
        {"\xED\xA0\x80", "\"\uFFFD\uFFFD\uFFFD\""},           // a surrogate
        {"\xF4\x90\x80\x80", "\"\uFFFD\uFFFD\uFFFD\uFFFD\""}, // past U+10FFFF
        {"cut \xE4\xB8", "\"cut \uFFFD\uFFFD\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(JsonString(c.text), c.json);
    }
}

TEST(WindowJson, HandleAsANumberTitleAndClassAsStrings) {
    EXPECT_EQ(WindowJson({-5, {"t \"1\"", "C"}}),
              "{\"handle\":-5,\"title\":\"t \\\"1\\\"\",\"class\":\"C\"}");
    EXPECT_EQ(WindowsJson({}), "[]");
    EXPECT_EQ(WindowsJson({{1, {"a", ""}}, {2, {"", "B"}}}),
              "[{\"handle\":1,\"title\":\"a\",\"class\":\"\"},{\"handle\":2,\"title\":\"\","
              "\"class\":\"B\"}]");
}

} // namespace
} // namespace huegrab::cli
