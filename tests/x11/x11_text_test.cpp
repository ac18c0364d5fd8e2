#include "desktop/x11/x11_text.h"

#include <gtest/gtest.h>
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

TEST(CutWindowText, CutsBytesThatAreNotUtf8WhereTheyFall) {
    const std::string continuationOnly(300, '\x80');
    EXPECT_EQ(CutWindowText(continuationOnly), continuationOnly.substr(0, 254));
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
