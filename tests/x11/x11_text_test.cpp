// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_text.h"

#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>

namespace huegrab::x11 {
namespace {

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

TEST(CutWindowText, KeepsShortTextAndCutsAtTheFirstNul) {
    EXPECT_EQ(CutWindowText("Untitled - Notepad"), "Untitled - Notepad");
    EXPECT_EQ(CutWindowText(std::string("abc\0def", 7)), "abc");
    EXPECT_EQ(CutWindowText(std::string("\0abc", 4)), "");
    EXPECT_EQ(CutWindowText(""), "");
}

TEST(CutWindowText, CutsAsciiTo254Bytes) {
    EXPECT_EQ(CutWindowText(std::string(254, 'a')), std::string(254, 'a'));
    EXPECT_EQ(CutWindowText(std::string(255, 'a')), std::string(254, 'a'));
    EXPECT_EQ(CutWindowText(std::string(300, 'x')), std::string(300, 'x').substr(0, 254));
}

TEST(CutWindowText, NeverSplitsAUtf8Character) {
    // "中" is three bytes: 84 of them fill 252 bytes, the 85th would not fit.
    EXPECT_EQ(CutWindowText(Repeat("中", 100)), Repeat("中", 84));
    // Two-byte characters after one ASCII byte: 1 + 2 * 126 = 253 bytes.
    EXPECT_EQ(CutWindowText("a" + Repeat("é", 200)), "a" + Repeat("é", 126));
    // Four-byte characters: 63 of them are 252 bytes.
    EXPECT_EQ(CutWindowText(Repeat("😀", 80)), Repeat("😀", 63));
    // A character that ends exactly at byte 254 stays.
    EXPECT_EQ(CutWindowText("ab" + Repeat("中", 90)), "ab" + Repeat("中", 84));
}

TEST(CutWindowText, BytesThatAreNotUtf8BecomeReplacementCharactersWithinTheLimit) {
    const std::string continuationOnly(300, '\x80');
    EXPECT_EQ(CutWindowText(continuationOnly), Repeat("\uFFFD", 84)); // 252 bytes
}

// Each broken piece becomes one U+FFFD (the longest start of a character that
// goes wrong, as browsers decode); the result always fits 254 bytes and ends
// on a whole character.
TEST(CutWindowText, ReplacesEveryBrokenSequenceAndCutsOnWholeCharacters) {
    const std::string r = "\uFFFD";
    const std::string a251(251, 'a');
    struct Case {
        const char* name;
        std::string raw;
        std::string handedOn;
    };
    const Case cases[] = {
        {"valid text stays", "颜色 é 😀", "颜色 é 😀"},
        {"Latin-1 bytes", "\xE9t\xE9", r + "t" + r},
        {"lone continuation bytes",
         "a\x80\xBF"
         "b",
         "a" + r + r + "b"},
        {"bytes that never lead", "\xC0\xC1\xF5\xFF", r + r + r + r},
        {"overlong two-byte '/'", "\xC0\xAF", r + r},
        {"overlong three-byte '/'", "\xE0\x80\xAF", r + r + r},
        {"overlong four-byte", "\xF0\x8F\xBF\xBF", r + r + r + r},
        {"UTF-16 surrogate", "x\xED\xA0\x80y", "x" + r + r + r + "y"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", r + r + r + r},
        {"sequence cut short inside",
         "a\xE4\xB8"
         "b",
         "a" + r + "b"},
        {"sequence cut short at the end", "a\xF0\x9F\x98", "a" + r},
        {"valid after a broken lead", "\xE4中", r + "中"},
        {"replacement ending at byte 254", a251 + "\x80", a251 + r},
        {"replacement past byte 254 is left out", a251 + "a\x80", a251 + "a"},
        {"truncated sequence at the limit", a251 + "a\xE4\xB8", a251 + "a"},
        {"valid CJK ending at byte 254", a251 + "中", a251 + "中"},
        {"valid CJK past byte 254 is left out", a251 + "aa中", a251 + "aa"},
        {"CJK cut on a character boundary", Repeat("中", 100), Repeat("中", 84)},
        {"broken bytes after the NUL are not read", std::string("ok\0\xFF", 4), "ok"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CutWindowText(c.raw), c.handedOn) << c.name;
    }
}

// Whatever a client puts in its title, the backend hands on valid UTF-8 of at
// most 254 bytes, and a valid title that fits is handed on unchanged.
TEST(CutWindowText, RandomBytesAlwaysComeOutValidAndWithinTheLimit) {
    std::mt19937 random(4242);
    const std::string pieces[] = {"a",    "é",    "中",   "😀",    "\x80", "\xBF",     "\xC0",
                                  "\xE0", "\xED", "\xF0", "\xF4", "\xFF", "\xE4\xB8", "\xF0\x9F"};
    for (int round = 0; round < 5000; ++round) {
        std::string raw;
        const std::size_t count = random() % 140;
        for (std::size_t i = 0; i < count; ++i)
            raw += pieces[random() % std::size(pieces)];
        const std::string handedOn = CutWindowText(raw);
        ASSERT_TRUE(IsValidUtf8(handedOn)) << testing::PrintToString(raw);
        ASSERT_LE(handedOn.size(), kMaxWindowTextBytes);
        if (IsValidUtf8(raw) && raw.size() <= kMaxWindowTextBytes) {
            ASSERT_EQ(handedOn, raw);
        } else if (IsValidUtf8(raw)) {
            // Cut, but by less than one character.
            ASSERT_TRUE(raw.starts_with(handedOn) && handedOn.size() > kMaxWindowTextBytes - 4);
        }
    }
}

TEST(Utf8, ValidatesSequences) {
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("颜色 é 😀"));
    EXPECT_FALSE(IsValidUtf8("\xE9t\xE9"));        // Latin-1 "été"
    EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));         // cut short
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong '/'
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // a UTF-16 surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
}

TEST(Utf8, StringPropertiesAreLatin1UnlessTheyAreUtf8) {
    EXPECT_EQ(StringPropertyToUtf8("\xE9t\xE9"), "été");
    EXPECT_EQ(StringPropertyToUtf8("caf\xC3\xA9"), "café"); // already UTF-8
    EXPECT_EQ(StringPropertyToUtf8("XTerm"), "XTerm");
    EXPECT_EQ(StringPropertyToUtf8("\xFF"), "ÿ");
}

} // namespace
} // namespace huegrab::x11
