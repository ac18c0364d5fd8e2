// SPDX-License-Identifier: GPL-3.0-or-later
// The cursor page on the fake desktop: slot switching, the focus marker,
// Command7, the tick's code while the page is chosen, the drawing boxes.

#include "app/form/form_controls.h"
#include "app/form/picture_box.h"
#include "tests/app/app_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <fstream>
#include <sstream>
#include <tuple>

namespace huegrab {
namespace {

constexpr ColorValue kBoxBackground = 0xE1E1E1;
constexpr ColorValue kMark = 0x0000FF;
// Codes of an opaque white 16 x 16 cursor by method 0, 1, 2.
const std::string kWhiteCodes[] = {"1593348757", "121993146", "330168771"};

CursorImage SolidCursor(std::uint32_t argb) {
    return {16, 16, 0, 0, std::vector<std::uint32_t>(256, argb)};
}

class CursorPanelView : public AppFixture {
protected:
    void PrepareDesktop() override { desktop.cursor = SolidCursor(0xFFFFFFFFu); }

    const CursorPanel& Panel() const { return form->Controls().cursor; }
    std::string Code() const { return Text("鼠标特征码"); }
    int Method() const { return Panel().method->currentIndex(); }
    void ChooseMethod(int method) { Panel().method->setCurrentIndex(method); }
    PictureBox* Box(int k) const { return Panel().drawings[static_cast<std::size_t>(k)]; }
    void Tick() { controller->Tracking().RunTick(); }
    // True when the box shows nothing but its background.
    bool Blank(int k) const {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (Box(k)->Pixel(x, y) != kBoxBackground)
                    return false;
        return true;
    }
};

TEST_F(CursorPanelView, EachSlotKeepsItsCodeAndMethodWhileAnotherIsCurrent) {
    Click("Option2", 1);
    ChooseMethod(1);
    Click("Command7");
    ASSERT_EQ(Code(), kWhiteCodes[1]);

    struct Step {
        int slot;
        std::string code;
        int method;
    };
    const Step steps[] = {
        {1, "", 0},             // never current: empty code, first method
        {0, kWhiteCodes[1], 1}, // back: its own code and method
        {0, kWhiteCodes[1], 1}, // the current slot again: nothing changes
        {3, "", 0},
        {0, kWhiteCodes[1], 1},
    };
    for (const Step& step : steps) {
        Click("鼠标块", step.slot);
        EXPECT_EQ(Code(), step.code) << "slot " << step.slot;
        EXPECT_EQ(Method(), step.method) << "slot " << step.slot;
    }

    // A slot computed with another method keeps both apart from slot 0's.
    Click("鼠标块", 2);
    ChooseMethod(2);
    Click("Command7");
    Click("鼠标块", 0);
    EXPECT_EQ(Code(), kWhiteCodes[1]);
    EXPECT_EQ(Method(), 1);
    Click("鼠标块", 2);
    EXPECT_EQ(Code(), kWhiteCodes[2]);
    EXPECT_EQ(Method(), 2);
}

TEST_F(CursorPanelView, TheMarkerAndTheVisibleBoxFollowTheSlot) {
    Click("Option2", 1);
    const int markerTopTwips[] = {165, 405, 645, 885};
    EXPECT_EQ(Panel().slotMarker->y(), markerTopTwips[0] / 15) << "at start";
    for (const int k : {2, 0, 3, 1, 1}) {
        Click("鼠标块", k);
        EXPECT_EQ(Panel().slotMarker->y(), markerTopTwips[k] / 15) << "slot " << k;
        for (int box = 0; box < 4; ++box)
            EXPECT_EQ(Box(box)->isVisible(), box == k) << "slot " << k << ", box " << box;
    }
}

TEST_F(CursorPanelView, Command7DrawsTheCursorAndTheMarksIntoTheCurrentBoxOnly) {
    Click("Option2", 1);
    Click("鼠标块", 2);
    ASSERT_FALSE(form->Find<QAbstractButton>("Check1")->isChecked());
    Click("Command7");

    EXPECT_EQ(Code(), kWhiteCodes[0]);
    EXPECT_EQ(desktop.cursorImageReads, 1);
    struct Pixel {
        int x, y;
        ColorValue shown;
    };
    const Pixel pixels[] = {
        {0, 0, 0xFFFFFF}, // the hot spot, never read
        {1, 1, kMark},    // points of method 0
        {2, 3, kMark},           {6, 10, kMark},
        {3, 3, 0xFFFFFF},                                  // the cursor between them
        {15, 15, 0xFFFFFF},      {16, 16, kBoxBackground}, // past the 16 x 16 cursor
        {31, 0, kBoxBackground},
    };
    for (const Pixel& p : pixels)
        EXPECT_EQ(Box(2)->Pixel(p.x, p.y), p.shown) << p.x << ", " << p.y;
    for (const int other : {0, 1, 3})
        EXPECT_TRUE(Blank(other)) << "box " << other;
}

TEST_F(CursorPanelView, TheTickComputesOnlyWhileTheCursorPageIsChosen) {
    Tick(); // the lookup page is shown
    EXPECT_EQ(desktop.cursorImageReads, 0);
    EXPECT_EQ(Code(), "");

    Click("Option2", 1);
    Tick();
    Tick();
    EXPECT_EQ(desktop.cursorImageReads, 2); // one read per tick
    EXPECT_EQ(Code(), kWhiteCodes[0]);

    ChooseMethod(2); // counts from the next tick on
    EXPECT_EQ(Code(), kWhiteCodes[0]);
    Tick();
    EXPECT_EQ(Code(), kWhiteCodes[2]);

    Click("Option2", 2);
    Tick();
    EXPECT_EQ(desktop.cursorImageReads, 3);

    // Through the running timer as well.
    Click("Option2", 1);
    ChooseMethod(1);
    Click("Check1");
    ASSERT_TRUE(WaitForTick());
    Click("Check1");
    EXPECT_EQ(Code(), kWhiteCodes[1]);
}

TEST_F(CursorPanelView, ALeftSlotKeepsItsDrawingWhileTheNextIsDrawnInto) {
    Click("Option2", 1);
    Tick();
    Click("鼠标块", 1);
    EXPECT_TRUE(Blank(1)) << "drawn before its first computation";
    desktop.cursor = SolidCursor(0xFF000000u); // black
    ChooseMethod(1);
    Tick();

    EXPECT_EQ(Code(), "2147483647");
    EXPECT_EQ(Box(1)->Pixel(0, 0), 0x000000);
    EXPECT_EQ(Box(0)->Pixel(0, 0), 0xFFFFFF);
    EXPECT_EQ(Box(0)->Pixel(1, 1), kMark);
    Click("鼠标块", 0);
    EXPECT_EQ(Code(), kWhiteCodes[0]);
    EXPECT_EQ(Box(0)->Pixel(0, 0), 0xFFFFFF);
}

// Every tick on the cursor page computes the code, but the box repaints
// only when the picture changed.
TEST_F(CursorPanelView, TicksWithTheSameCursorLeaveTheBoxUnpainted) {
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    Click("Option2", 1);
    Tick();
    QApplication::processEvents();
    Box(0)->installEventFilter(&counter);
    for (const std::uint32_t cursor : {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFF000000u, 0xFF000000u}) {
        desktop.cursor = SolidCursor(cursor);
        Tick();
        QApplication::processEvents();
    }
    EXPECT_EQ(desktop.cursorImageReads, 5);
    EXPECT_EQ(counter.paints, 1) << "only the change to black repaints";
    EXPECT_EQ(Box(0)->Pixel(0, 0), 0x000000);
}

TEST_F(CursorPanelView, NothingOfTheCursorSlotsIsStored) {
    Click("Option2", 1);
    Click("Command7");
    Click("鼠标块", 3);
    ChooseMethod(2);
    Click("Command7");
    Click("鼠标块", 0);
    form->close();
    std::ifstream in(folder / "config.ini", std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    const std::string text = content.str();
    // Only the focused colour slot's section, as without the cursor page.
    EXPECT_EQ(text.rfind("[P0]\r\n", 0), 0u) << text;
    EXPECT_EQ(text.find('[', 1), std::string::npos) << text;
    EXPECT_EQ(text.find(kWhiteCodes[0]), std::string::npos) << text;
    EXPECT_EQ(text.find(kWhiteCodes[2]), std::string::npos) << text;
}

} // namespace
} // namespace huegrab
