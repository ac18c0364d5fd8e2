// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/win32/win32_text.h"
#include "desktop/win32/win32_window_handle.h"

#include <gtest/gtest.h>

namespace huegrab::win32 {
namespace {

std::string Repeat(std::string_view text, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

std::u16string Repeat16(std::u16string_view text, std::size_t times) {
    std::u16string out;
    for (std::size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

TEST(Win32Text, WideTextBecomesUtf8CutWithoutSplittingACharacter) {
    const struct {
        const char* name;
        std::u16string wide;
        std::string utf8;
    } cases[] = {
        {"empty", u"", ""},
        {"ASCII", u"Notepad", "Notepad"},
        {"two- and three-byte characters", u"Größe 取色", "Größe 取色"},
        {"surrogate pair", u"a\U0001F600b",
         "a\xF0\x9F\x98\x80"
         "b"},
        {"cut at the first NUL", std::u16string(u"ab\0cd", 5), "ab"},
        {"lone high surrogate", u"a\xD800z", "a\xEF\xBF\xBDz"},
        {"lone low surrogate at the end", u"a\xDC00", "a\xEF\xBF\xBD"},
        {"exactly 254 bytes", Repeat16(u"x", 254), Repeat("x", 254)},
        {"255 bytes", Repeat16(u"x", 255), Repeat("x", 254)},
        {"three-byte character across byte 254", Repeat16(u"x", 252) + u"中", Repeat("x", 252)},
        {"three-byte character ending on 254", Repeat16(u"x", 251) + u"中",
         Repeat("x", 251) + "中"},
        {"four-byte character across byte 254", Repeat16(u"x", 251) + u"\U0001F600",
         Repeat("x", 251)},
        {"two-byte character across byte 254", Repeat16(u"x", 253) + u"é", Repeat("x", 253)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf16ToUtf8(c.wide), c.utf8) << c.name;
}

// HWNDs are sign-extended 32-bit values: the 32-bit handle holds them whole.
TEST(Win32WindowHandle, HandlesSurviveTheTripThroughThirtyTwoBits) {
    const struct {
        std::intptr_t hwnd;
        WindowHandle handle;
    } cases[] = {
        {0, 0},
        {0x10062, 0x10062},
        {0x7FFFFFFF, 0x7FFFFFFF},
        {-2, -2}, // sign-extended: 0xFFFFFFFFFFFFFFFE
        {static_cast<std::intptr_t>(INT32_MIN), INT32_MIN},
    };
    for (const auto& c : cases) {
        const HWND hwnd = reinterpret_cast<HWND>(c.hwnd);
        EXPECT_EQ(ToHandle(hwnd), c.handle) << c.hwnd;
        EXPECT_EQ(ToHwnd(c.handle), hwnd) << c.hwnd;
    }
    if constexpr (sizeof(std::intptr_t) > 4) {
        // Not a sign-extended 32-bit value: no window of ours.
        EXPECT_EQ(ToHandle(reinterpret_cast<HWND>(std::intptr_t{0x80000000})), 0);
        EXPECT_EQ(ToHandle(reinterpret_cast<HWND>(std::intptr_t{1} << 33)), 0);
    }
}

} // namespace
} // namespace huegrab::win32
