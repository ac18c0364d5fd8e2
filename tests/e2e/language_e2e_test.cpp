// SPDX-License-Identifier: GPL-3.0-or-later
// The window's language as the user chooses it: the locale, [Window]
// Language of config.ini and --lang, seen in the title of the running window.
#include "tests/e2e/running_huegrab.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace huegrab::e2e {
namespace {

constexpr char kChineseTitle[] = "Huegrab抓点／抓色v3.20.1001正式版";
constexpr char kEnglishTitle[] = "Huegrab point / colour picker v3.20.1001";

struct LanguageCase {
    const char* what;
    std::vector<std::pair<std::string, std::string>> environment;
    std::string config; // config.ini beside the program; none when empty
    std::vector<std::string> arguments;
    const char* title;
};

TEST(LanguageEndToEnd, LocaleSettingAndCommandLineChooseTheCaptions) {
    const std::vector<LanguageCase> cases = {
        {"the harness's own locale", {}, "", {}, kChineseTitle},
        {"an English locale", {{"LANG", "en_US.UTF-8"}}, "", {}, kEnglishTitle},
        {"LC_MESSAGES over LANG",
         {{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "zh_CN.UTF-8"}},
         "",
         {},
         kChineseTitle},
        {"the setting under C", {}, "[Window]\r\nLanguage=en\r\n", {}, kEnglishTitle},
        {"--lang over the setting and the locale",
         {{"LANG", "en_US.UTF-8"}},
         "[Window]\r\nLanguage=en\r\n",
         {"--lang", "zh"},
         kChineseTitle},
    };
    for (const LanguageCase& c : cases) {
        SCOPED_TRACE(c.what);
        RunningHuegrab huegrab;
        for (const auto& [name, value] : c.environment)
            huegrab.SetEnvironment(name, value);
        huegrab.SetArguments(c.arguments);
        if (!c.config.empty())
            std::ofstream(huegrab.Folder() / "config.ini", std::ios::binary) << c.config;
        ASSERT_TRUE(huegrab.Start());
        const std::string title =
            huegrab.Server().Run({"xdotool", "getwindowname", huegrab.WindowId()}).output;
        EXPECT_EQ(title, std::string(c.title) + "\n");
        // Only read: the file is as it was.
        EXPECT_EQ(huegrab.ConfigText(), c.config);
    }
}

} // namespace
} // namespace huegrab::e2e
