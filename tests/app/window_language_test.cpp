// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_language.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace huegrab {
namespace {

constexpr auto kZh = WindowLanguage::Chinese;
constexpr auto kEn = WindowLanguage::English;
const std::optional<std::string> kUnset;

struct LocaleCase {
    const char* what;
    LocaleVariables locale;
    WindowLanguage expected;
};

TEST(WindowLanguage, FollowsTheLocaleAsGettextDoes) {
    const std::vector<LocaleCase> cases = {
        {"nothing set", {}, kZh},
        {"all empty", {"", "", "", ""}, kZh},
        {"LANG English", {kUnset, kUnset, kUnset, "en_US.UTF-8"}, kEn},
        {"LANG German", {kUnset, kUnset, kUnset, "de_DE.UTF-8"}, kEn},
        {"LANG Chinese", {kUnset, kUnset, kUnset, "zh_CN.UTF-8"}, kZh},
        {"LANG Taiwanese Chinese", {kUnset, kUnset, kUnset, "zh_TW"}, kZh},
        {"LANG C", {kUnset, kUnset, kUnset, "C"}, kZh},
        {"LANG C.UTF-8", {kUnset, kUnset, kUnset, "C.UTF-8"}, kZh},
        {"LANG POSIX", {kUnset, kUnset, kUnset, "POSIX"}, kZh},
        {"LC_MESSAGES before LANG", {kUnset, kUnset, "en_GB.UTF-8", "zh_CN.UTF-8"}, kEn},
        {"LC_MESSAGES C before LANG", {kUnset, kUnset, "C", "en_US.UTF-8"}, kZh},
        {"LC_ALL before LC_MESSAGES", {kUnset, "zh_CN.UTF-8", "en_US.UTF-8", "en_US"}, kZh},
        {"empty LC_ALL counts as unset", {kUnset, "", "en_US.UTF-8", kUnset}, kEn},
        {"LANGUAGE before the locale", {"en_US:zh_CN", kUnset, kUnset, "zh_CN.UTF-8"}, kEn},
        {"LANGUAGE Chinese", {"zh_CN:en", kUnset, kUnset, "en_US.UTF-8"}, kZh},
        {"LANGUAGE's first entry that is not empty", {"::de:zh", kUnset, kUnset, "zh_CN"}, kEn},
        {"LANGUAGE of only colons", {":", kUnset, kUnset, "en_US.UTF-8"}, kEn},
        {"LANGUAGE ignored under C", {"en_US", kUnset, kUnset, "C.UTF-8"}, kZh},
        {"LANGUAGE ignored without a locale", {"en_US", kUnset, kUnset, kUnset}, kZh},
        {"upper-case ZH", {kUnset, kUnset, kUnset, "ZH_cn"}, kZh},
    };
    for (const LocaleCase& c : cases)
        EXPECT_EQ(LanguageOfLocale(c.locale), c.expected) << c.what;
}

struct ChoiceCase {
    const char* what;
    LanguageChoice choice;
    WindowLanguage expected;
};

TEST(WindowLanguage, CommandLineThenSettingThenLocale) {
    const LocaleVariables english{kUnset, kUnset, kUnset, "en_US.UTF-8"};
    const LocaleVariables plain{kUnset, kUnset, kUnset, "C"};
    const std::vector<ChoiceCase> cases = {
        {"locale alone", {kUnset, "", english}, kEn},
        {"setting over locale", {kUnset, "zh", english}, kZh},
        {"setting English under C", {kUnset, "en", plain}, kEn},
        {"setting in upper case", {kUnset, "EN", plain}, kEn},
        {"unknown setting passed over", {kUnset, "fr", english}, kEn},
        {"command line over setting", {"en", "zh", plain}, kEn},
        {"command line Chinese over locale", {"zh", "", english}, kZh},
        {"unknown command line passed over", {"klingon", "zh", english}, kZh},
        {"empty command line passed over", {"", "", english}, kEn},
    };
    for (const ChoiceCase& c : cases)
        EXPECT_EQ(ChooseWindowLanguage(c.choice), c.expected) << c.what;
}

struct OptionCase {
    std::vector<const char*> argv;
    std::optional<std::string> expected;
};

TEST(WindowLanguage, ReadsTheLangOption) {
    const std::vector<OptionCase> cases = {
        {{"huegrab"}, std::nullopt},
        {{"huegrab", "--lang", "en"}, "en"},
        {{"huegrab", "--lang=zh"}, "zh"},
        {{"huegrab", "--lang=en", "--lang", "zh"}, "zh"},
        {{"huegrab", "-display", ":1", "--lang", "en"}, "en"},
        {{"huegrab", "--lang"}, ""},
        {{"huegrab", "--language", "en"}, std::nullopt},
    };
    for (const OptionCase& c : cases) {
        EXPECT_EQ(LanguageOption(static_cast<int>(c.argv.size()), c.argv.data()), c.expected)
            << c.argv.back();
    }
}

} // namespace
} // namespace huegrab
