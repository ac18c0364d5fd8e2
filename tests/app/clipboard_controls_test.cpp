// SPDX-License-Identifier: GPL-3.0-or-later
// The eleven Command11 buttons against a scripted clipboard and desktop.

#include "tests/app/app_fixture.h"
#include "tests/form/form_test_support.h"

#include <string>
#include <vector>

namespace huegrab {
namespace {

class ClipboardButtons : public AppFixture {
protected:
    void PrepareDesktop() override {
        desktop.windows = {{2, "two", "Two"},
                           {4, "four", "Four"},
                           {-2147483647 - 1, "lowest", "Low"},
                           {2147483647, std::string(300, 'T'), "High"}};
    }
    void Set(const char* field, const std::string& text) {
        ASSERT_TRUE(testing_support::SetFieldTextOf(*form, field, QString::fromStdString(text)))
            << field;
    }
};

TEST_F(ClipboardButtons, CopiesComposeTheFieldTextsExactly) {
    const struct {
        int index;
        std::vector<std::pair<const char*, const char*>> fields;
        std::string expected;
    } cases[] = {
        {0, {{"得x", "12"}, {"得y", "34"}}, "12,34"},
        {0, {{"得x", "-5"}, {"得y", ""}}, "-5,"},
        {2, {{"查10r", "255"}, {"查10g", "0"}, {"查10b", "0"}}, "255,0,0"},
        {2, {{"查10r", ""}, {"查10g", ""}, {"查10b", ""}}, ",,"},
        {3, {{"查10h", "0"}, {"查10s", "240"}, {"查10l", "120"}}, "0,240,120"},
        {5, {{"得16", "00FF00"}}, "\"00FF00\""},
        {6, {{"自16", "ABCDEF"}}, "\"ABCDEF\""},
        {9, {{"Text1", "a \"title\", with, commas"}}, "\"a \"title\", with, commas\""},
        {9, {{"Text1", ""}}, "\"\""},
    };
    for (const auto& c : cases) {
        for (const auto& [field, text] : c.fields)
            Set(field, text);
        shell.clipboard = "old";
        const int clears = shell.clears;
        Click("Command11", c.index);
        EXPECT_EQ(shell.clipboard, c.expected) << c.index;
        EXPECT_EQ(shell.clears, clears + 1) << c.index;
    }
}

TEST_F(ClipboardButtons, CoordinatePastesNeedExactlyOneComma) {
    const struct {
        std::string clipboard;
        const char* x;
        const char* y;
    } cases[] = {
        {"100,200", "100", "200"},
        {"  100 ,  200  ", "100", "200"},
        {"12345,6", "1234", "6"},
        {"标标标😀,1😀", "标标标", "1😀"}, // no character cut in half
        {"a,b", "a", "b"},              // not checked for being numbers
        {",", "", ""},
        {"\t7,8\t", "\t7", "8\t"}, // only spaces are trimmed
        {"100,200,300", "kept", "kept"},
        {"100", "kept", "kept"},
        {"", "kept", "kept"},
    };
    for (const int index : {1, 4}) {
        const char* xField = index == 1 ? "自x" : "起x";
        const char* yField = index == 1 ? "自y" : "起y";
        for (const auto& c : cases) {
            Set(xField, "kept");
            Set(yField, "kept");
            shell.clipboard = c.clipboard;
            Click("Command11", index);
            EXPECT_EQ(Text(xField), c.x) << index << " '" << c.clipboard << "'";
            EXPECT_EQ(Text(yField), c.y) << index << " '" << c.clipboard << "'";
        }
    }
}

TEST_F(ClipboardButtons, HandlePasteKeepsTheLeadingNumber) {
    const struct {
        std::string clipboard;
        const char* handle;
    } cases[] = {
        {"", "0"},
        {"123abc", "123"},
        {"  -42", "-42"},
        {"2.5", "2.5"},
        {"abc123", "0"},
        {"1 2 3", "123"},
        {"65011712\r\n", "65011712"},
        {"[001]5=x", "0"},            // a whole list line is no number
        {" 0x1E00007\n", "31457287"}, // as xwininfo and wmctrl print ids
        {"0x1e00007", "31457287"},
        {"0x", "0"},
        {"0xg1", "0"},
        {"10x1", "10"},
    };
    for (const auto& c : cases) {
        shell.clipboard = c.clipboard;
        Click("Command11", 7);
        EXPECT_EQ(Text("Text2"), c.handle) << c.clipboard;
    }
}

TEST_F(ClipboardButtons, FindByHandleRoundsHalfToEvenAndStopsOutOfRange) {
    const struct {
        const char* handle;
        const char* title;
        const char* className;
    } cases[] = {
        {"4", "four", "Four"},
        {"2.5", "two", "Two"}, // ties go to the even handle
        {"3.5", "four", "Four"},
        {"4.4", "four", "Four"},
        {"4abc", "four", "Four"},
        {"0x4", "four", "Four"},
        {"-2147483648", "lowest", "Low"},
        {"0", "", ""},
        {"", "", ""},
        {"99", "", ""},                 // no such window
        {"2147483648", "kept", "kept"}, // out of range: nothing changes
        {"-2147483649", "kept", "kept"},
        {"1e300", "kept", "kept"},
        {"0x80000000", "kept", "kept"},
    };
    for (const auto& c : cases) {
        Set("Text2", c.handle);
        Set("Text1", "kept");
        Set("Text3", "kept");
        Click("Command11", 8);
        EXPECT_EQ(Text("Text1"), c.title) << c.handle;
        EXPECT_EQ(Text("Text3"), c.className) << c.handle;
    }
    Set("Text2", "2147483647");
    Click("Command11", 8);
    EXPECT_EQ(Text("Text1"), std::string(254, 'T'));
}

TEST_F(ClipboardButtons, TitlePasteTakesTheTextAsItIsUpToWhatTheFieldHolds) {
    const int limit = form->Field("Text4")->maxLength();
    const struct {
        std::string clipboard;
        std::string expected;
    } cases[] = {
        {"", ""},
        {"\"quoted title\"", "\"quoted title\""},
        {"  spaced  ", "  spaced  "},
        {"标题", "标题"},
        {std::string(static_cast<std::size_t>(limit) - 1, 'x') + "😀",
         std::string(static_cast<std::size_t>(limit) - 1, 'x')},
        {std::string(20'000'000, 'x'), std::string(static_cast<std::size_t>(limit), 'x')},
    };
    for (const auto& c : cases) {
        Set("Text4", "old");
        shell.clipboard = c.clipboard;
        Click("Command11", 10);
        EXPECT_EQ(Text("Text4"), c.expected) << c.clipboard.substr(0, 20);
    }
}

// A clipboard that cannot be read (its owner does not answer) ends each
// paste with its fields as they were; an empty text still pastes.
TEST_F(ClipboardButtons, AFailedClipboardReadLeavesThePastedFieldsAsTheyWere) {
    const struct {
        int index;
        std::vector<const char*> fields;
        std::vector<std::string> emptyPaste; // what an empty clipboard text leaves
    } cases[] = {
        {1, {"自x", "自y"}, {"old", "old"}},
        {4, {"起x", "起y"}, {"old", "old"}},
        {7, {"Text2"}, {"0"}},
        {10, {"Text4"}, {""}},
    };
    for (const auto& c : cases) {
        for (const bool unreadable : {true, false}) {
            for (const char* field : c.fields)
                Set(field, "old");
            shell.clipboard = "";
            shell.clipboardUnreadable = unreadable;
            Click("Command11", c.index);
            for (std::size_t i = 0; i < c.fields.size(); ++i)
                EXPECT_EQ(Text(c.fields[i]), unreadable ? "old" : c.emptyPaste[i])
                    << c.index << (unreadable ? " unreadable" : " empty");
        }
    }
}

TEST_F(ClipboardButtons, HugeOrOddClipboardTextsNeverHangTheOtherPastes) {
    const std::string huge(20'000'000, ' ');
    for (const std::string& clipboard :
         {huge, huge + "5", std::string("1\0,2", 4), std::string("\xFF\xFE,\x80", 4)}) {
        shell.clipboard = clipboard;
        for (const int index : {1, 4, 7}) {
            Click("Command11", index);
        }
    }
    // Bytes that are no UTF-8 paste as replacement characters.
    shell.clipboard = "\xFF\xFE,\x80";
    Click("Command11", 1);
    EXPECT_EQ(form->Field("自y")->text().size(), 1);
}

} // namespace
} // namespace huegrab
