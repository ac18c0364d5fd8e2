// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/form_colors.h"
#include "app/form/readout_field.h"
#include "tests/app/app_fixture.h"

#include <QTest>
#include <fstream>
#include <sstream>

namespace huegrab {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

using ColorSlotsView = AppFixture;

TEST_F(ColorSlotsView, FirstClickCreatesTheFileWithTheFocusedSlotAndShowsAnEmptySlot) {
    const auto config = folder / "config.ini";
    ASSERT_FALSE(std::filesystem::exists(config));
    desktop.pointer = {12, 34};
    Click("Check1");
    ASSERT_TRUE(WaitForTick());
    Click("Check1");

    Click("色块", 2);
    EXPECT_EQ(ReadFile(config), "[P0]\r\nX=12\r\nY=34\r\nC=16777215\r\nR=255\r\nG=255\r\n"
                                "B=255\r\nH=160\r\nS=0\r\nL=240\r\n");
    for (const char* field : {"得x", "得y", "得10", "得16", "得16r", "得10r", "得10l"})
        EXPECT_EQ(Text(field), "") << field;
    EXPECT_EQ(BackColor(form->Control("得颜色")), 0xE1E1E1);
    EXPECT_EQ(BackColor(form->Control("色块", 2)), 0xFFFFFF);
    EXPECT_EQ(controller->State().focusedColorSlot, 2);
    EXPECT_EQ(form->Control("焦点", 0)->y(), form->Control("色块", 2)->y() + 3);
}

// A double click reaches a label as press, release, double click, release:
// it acts as one click, so the slot it loads is not stored straight back and
// the contact line opens one mail.
TEST_F(ColorSlotsView, ADoubleClickActsOnce) {
    auto doubleClick = [&](std::string_view name, int index) {
        QWidget* label = form->Control(name, index);
        const QPoint at(4, label->height() / 2);
        QTest::mouseClick(label, Qt::LeftButton, {}, at);
        QTest::mouseDClick(label, Qt::LeftButton, {}, at);
        QTest::mouseRelease(label, Qt::LeftButton, {}, at);
    };
    doubleClick("色块", 3);
    EXPECT_EQ(ReadFile(folder / "config.ini").find("[P3]"), std::string::npos);
    EXPECT_EQ(controller->State().focusedColorSlot, 3);
    doubleClick("Label7", -1);
    EXPECT_EQ(shell.openedUrls.size(), 1u);
}

TEST_F(ColorSlotsView, TheTickPaintsTheFocusedSlot) {
    Click("色块", 4);
    desktop.Fill(0x00FF00);
    Click("Check1");
    ASSERT_TRUE(WaitForTick());
    Click("Check1");
    EXPECT_EQ(BackColor(form->Control("色块", 4)), 0x00FF00);
    EXPECT_EQ(BackColor(form->Control("色块", 0)), 0xFFFFFF);
}

TEST_F(ColorSlotsView, ClosingStoresOnlyTheFocusedSlot) {
    Click("色块", 4); // stores P0 (empty fields)
    std::filesystem::remove(folder / "config.ini");
    form->Readout("得x")->setText("7");
    form->close();
    const std::string content = ReadFile(folder / "config.ini");
    EXPECT_EQ(content.rfind("[P4]\r\nX=7\r\n", 0), 0u) << content;
    EXPECT_EQ(content.find("[P0]"), std::string::npos);
}

// The X connection may break while the window closes; Xlib then ends the
// process from inside the desktop call that met it. The slot is stored all
// the same.
TEST_F(ColorSlotsView, ClosingStoresTheSlotWhenADesktopCallEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "fast"); // the child writes into this test's folder
    Click("色块", 4);
    form->Readout("得x")->setText("7");
    desktop.duringUnregisterHotKey = [] {
        std::exit(1);
    };
    // How the child ends after the exit hooks is the test harness's affair.
    EXPECT_EXIT(
        form->close(), [](int) { return true; }, "");
    desktop.duringUnregisterHotKey = nullptr; // this process closes as usual
    EXPECT_NE(ReadFile(folder / "config.ini").find("[P4]\r\nX=7\r\n"), std::string::npos);
}

class RestoredFromFile : public AppFixture {
protected:
    void PrepareFolder() override {
        std::ofstream(folder / "config.ini", std::ios::binary)
            << "[P0]\r\nX=5\r\nY=6\r\nC=255\r\nR=255\r\nG=0\r\nB=0\r\nH=0\r\nS=240\r\nL=120\r\n"
               "[p3]\nc=65280\n[P7]\r\nC=not a colour\r\n";
    }
};

TEST_F(RestoredFromFile, SlotZeroFillsTheFieldsAndEverySlotGetsItsColor) {
    EXPECT_EQ(Text("得x"), "5");
    EXPECT_EQ(Text("得16"), "0000FF");
    EXPECT_EQ(Text("得16r"), "FF");
    EXPECT_EQ(Text("得16g"), "0"); // loaded components lose their leading zero
    EXPECT_EQ(Text("得10s"), "240");
    EXPECT_EQ(BackColor(form->Control("得颜色")), 0x0000FF);
    EXPECT_EQ(BackColor(form->Control("色块", 0)), 0x0000FF);
    EXPECT_EQ(BackColor(form->Control("色块", 3)), 0x00FF00);
    EXPECT_EQ(BackColor(form->Control("色块", 7)), 0xFFFFFF);
    EXPECT_EQ(BackColor(form->Control("色块", 9)), 0xFFFFFF);
}

// Hand-edited or code-page texts (GBK "测试", Latin-1 "café") are not
// UTF-8. Starting and closing must give the file back byte for byte; a
// field the user changed is written as typed.
class CodePageTexts : public AppFixture {
protected:
    static constexpr char kStored[] =
        "[P0]\r\nX=\xB2\xE2\xCA\xD4\r\nY=caf\xE9\r\nC=255\r\nR=255\r\nG=0\r\nB=0\r\n"
        "H=0\r\nS=240\r\nL=120\r\n";
    void PrepareFolder() override {
        std::ofstream(folder / "config.ini", std::ios::binary) << kStored;
    }
};

TEST_F(CodePageTexts, SurviveARoundTripUnlessChanged) {
    controller->Shutdown();
    EXPECT_EQ(ReadFile(folder / "config.ini"), kStored);

    form->Readout("得y")->setText(QString::fromUtf8("新"));
    Click("色块", 1); // stores slot 1's fields into P0
    const std::string content = ReadFile(folder / "config.ini");
    EXPECT_NE(content.find("X=\xB2\xE2\xCA\xD4\r\nY=\xE6\x96\xB0\r\n"), std::string::npos)
        << content;
}

} // namespace
} // namespace huegrab
