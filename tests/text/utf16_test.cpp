// SPDX-License-Identifier: GPL-3.0-or-later
// The one UTF-16 decoder, in both of its modes, and the way back.

#include "text/utf16.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace huegrab {
namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD"; // U+FFFD

TEST(Utf16ToUtf8, StrictFailsAndLenientReplacesAtAnUnpairedSurrogate) {
    const struct {
        const char* name;
        std::u16string units;
        std::optional<std::string> strict; // nullopt: does not decode
        std::string lenient;
    } cases[] = {
        {"empty", u"", "", ""},
        {"ASCII", u"Notepad", "Notepad", "Notepad"},
        {"two and three bytes", u"Größe 取色", "Größe 取色", "Größe 取色"},
        {"the last two- and three-byte code points", u"\u07FF\u0800\uFFFF",
         "\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF", "\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
        {"surrogate pair", u"a\U0001F600b",
         "a\xF0\x9F\x98\x80"
         "b",
         "a\xF0\x9F\x98\x80"
         "b"},
        {"the highest code point", u"\U0010FFFF", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
        {"a NUL is a character", std::u16string(u"a\0b", 3), std::string("a\0b", 3),
         std::string("a\0b", 3)},
        {"a byte-order mark is a character", u"\uFEFFx", "\xEF\xBB\xBFx", "\xEF\xBB\xBFx"},
        {"lone high surrogate", u"a\xD800z", std::nullopt, std::string("a") + kReplacement + "z"},
        {"high surrogate at the end", u"a\xDBFF", std::nullopt, std::string("a") + kReplacement},
        {"lone low surrogate", u"\xDC00z", std::nullopt, std::string(kReplacement) + "z"},
        {"low before high", u"\xDC00\xD800", std::nullopt,
         std::string(kReplacement) + kReplacement},
        {"two highs, then a low: the second pairs", u"\xD800\xD83D\xDE00", std::nullopt,
         std::string(kReplacement) + "\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf16ToUtf8(c.units, UnpairedSurrogates::Fail), c.strict) << c.name;
        EXPECT_EQ(Utf16ToUtf8(c.units, UnpairedSurrogates::Replace), c.lenient) << c.name;
        EXPECT_EQ(Utf16ToUtf8Lenient(c.units), c.lenient) << c.name;
    }
}

TEST(Utf8ToUtf16, TakesOnlyUtf8AndRoundTrips) {
    const struct {
        const char* name;
        std::string utf8;
        std::optional<std::u16string> units;
    } cases[] = {
        {"empty", "", u""},
        {"mixed widths", "aé取\xF0\x9F\x98\x80", u"aé取\U0001F600"},
        {"the highest code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {"overlong two bytes", "\xC0\xAF", std::nullopt},
        {"overlong three bytes", "\xE0\x80\xAF", std::nullopt},
        {"an encoded surrogate", "\xED\xA0\x80", std::nullopt},
        {"past U+10FFFF", "\xF4\x90\x80\x80", std::nullopt},
        {"a cut character", "a\xE4\xB8", std::nullopt},
        {"a lone continuation byte", "\x80", std::nullopt},
        {"a lead byte followed by ASCII", "\xC3(", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.units) << c.name;
        if (c.units) {
            EXPECT_EQ(Utf16ToUtf8(*c.units, UnpairedSurrogates::Fail), c.utf8) << c.name;
        }
    }
}

} // namespace
} // namespace huegrab
