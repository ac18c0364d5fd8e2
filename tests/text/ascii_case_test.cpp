// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/ascii_case.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>

namespace huegrab {
namespace {

TEST(AsciiLower, LowersOnlyAToZWhateverTheLocale) {
    // Under a Turkish locale the C library may lower I to a dotless i; names
    // read from settings must not change with the user's locale.
    std::setlocale(LC_ALL, "tr_TR.UTF-8");
    const struct {
        std::string text;
        std::string lower;
    } cases[] = {
        {"", ""},
        {"Alt+TLDE", "alt+tlde"},
        {"ZH_cn", "zh_cn"},
        {"@[`{", "@[`{"},       // the neighbours of A-Z and a-z
        {"ÄÖ 中文", "ÄÖ 中文"}, // UTF-8 bytes pass untouched
        {std::string("I\0J", 3), std::string("i\0j", 3)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AsciiLower(c.text), c.lower) << c.text;
    std::setlocale(LC_ALL, "C");
}

} // namespace
} // namespace huegrab
