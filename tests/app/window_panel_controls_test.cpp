// SPDX-License-Identifier: GPL-3.0-or-later
// The window panel on a scripted desktop: the "P" switch, the crosshair
// drag, the live probe of the tick, search, list and its copies.

#include "app/form/form_colors.h"
#include "app/form/icon_image.h"
#include "app/form/picture_box.h"
#include "app/form/readout_field.h"
#include "tests/app/app_fixture.h"
#include "windowtools/window_walk.h"

#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace huegrab {
namespace {

using Fields = std::array<std::string, 3>;

class WindowPanelView : public AppFixture {
protected:
    void PrepareDesktop() override {
        // Topmost first; 303 has no title.
        desktop.windows = {
            {301, "Notepad - a.txt", "Notepad", 100, 100, 200, 100},
            {302, "calc]x=1", "CalcFrame", 400, 100, 200, 100},
            {303, "", "Hidden", 0, 0, 0, 0},
            {-4, "Untitled - Notepad", "Notepad", 100, 300, 200, 100},
        };
    }
    void ActivateWindow() {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    const WindowPanel& Panel() const { return form->Controls().window; }
    PictureBox* CrossHair() const { return Panel().crossHair; }
    Fields PickFields() const { return {Text("Text2"), Text("Text1"), Text("Text3")}; }
    void SendMouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(5, 5), CrossHair()->mapToGlobal(QPointF(5, 5)), button,
                          held, Qt::NoModifier);
        QApplication::sendEvent(CrossHair(), &event);
    }
    void Press(Qt::MouseButton button) { SendMouse(QEvent::MouseButtonPress, button, button); }
    void MoveTo(ScreenPoint point, Qt::MouseButtons held) {
        desktop.pointer = point;
        SendMouse(QEvent::MouseMove, Qt::NoButton, held);
    }
    void Release(Qt::MouseButton button) {
        SendMouse(QEvent::MouseButtonRelease, button, Qt::NoButton);
    }
    void TickOnce() {
        Click("Check1");
        ASSERT_TRUE(WaitForTick());
        Click("Check1");
    }
    void SetPickFields(const char* text) {
        for (const char* field : {"Text2", "Text1", "Text3"})
            form->Field(field)->setText(text);
    }
};

TEST_F(WindowPanelView, TheSwitchArmsAndDisarmsTheCrosshair) {
    EXPECT_FALSE(CrossHair()->isEnabled());
    EXPECT_EQ(BackColor(CrossHair()), kLightGrey);
    form->SelectModePage(2);
    ActivateWindow();
    for (const bool armed : {true, false, true}) {
        form->Control("Text2")->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), form->Control("Text2"));
        Click("Check4");
        EXPECT_EQ(Panel().probe->isChecked(), armed);
        EXPECT_EQ(CrossHair()->isEnabled(), armed);
        EXPECT_EQ(BackColor(CrossHair()), armed ? kWhite : kLightGrey);
        EXPECT_EQ(QApplication::focusWidget(), form->Control("Check1"));
    }
}

TEST_F(WindowPanelView, DraggingTheCrosshairFollowsThePointerUntilTheLeftButtonIsReleased) {
    Click("Check4");
    const QPixmap icon = Panel().crossHairImage->Icon();
    ASSERT_FALSE(icon.isNull());
    ASSERT_FALSE(CrossHair()->Picture().isNull());

    Press(Qt::LeftButton);
    EXPECT_TRUE(CrossHair()->Picture().isNull()); // lifted out
    ASSERT_EQ(Panel().crossHairImage->Pointer().shape(), Qt::BitmapCursor);
    EXPECT_EQ(form->cursor().shape(), Qt::BitmapCursor);

    const struct {
        ScreenPoint pointer;
        Qt::MouseButtons held;
        Fields expected;
    } moves[] = {
        {{150, 150}, Qt::LeftButton, {"301", "Notepad - a.txt", "Notepad"}},
        {{450, 150}, Qt::LeftButton, {"302", "calc]x=1", "CalcFrame"}},
        {{150, 350}, Qt::LeftButton | Qt::RightButton, {"302", "calc]x=1", "CalcFrame"}},
        {{150, 350}, Qt::MiddleButton, {"302", "calc]x=1", "CalcFrame"}},
        {{150, 350}, Qt::LeftButton, {"-4", "Untitled - Notepad", "Notepad"}},
        {{790, 590}, Qt::LeftButton, {"0", "", ""}}, // over no window
        {{450, 150}, Qt::LeftButton, {"302", "calc]x=1", "CalcFrame"}},
    };
    for (const auto& move : moves) {
        MoveTo(move.pointer, move.held);
        EXPECT_EQ(PickFields(), move.expected) << move.pointer.x << "," << move.pointer.y;
    }

    Press(Qt::LeftButton); // a second press changes nothing
    Release(Qt::RightButton);
    EXPECT_TRUE(CrossHair()->Picture().isNull());
    Release(Qt::LeftButton);
    EXPECT_EQ(CrossHair()->Picture().cacheKey(), icon.cacheKey());
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);

    // Moves after the release leave the fields with the last window.
    MoveTo({150, 150}, Qt::LeftButton);
    EXPECT_EQ(PickFields(), (Fields{"302", "calc]x=1", "CalcFrame"}));
}

// A press soon after a click on the crosshair comes as a double click.
TEST_F(WindowPanelView, APressRightAfterAClickStillStartsADrag) {
    Click("Check4");
    Press(Qt::LeftButton);
    Release(Qt::LeftButton);
    SendMouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(CrossHair()->Picture().isNull());
    MoveTo({150, 150}, Qt::LeftButton);
    EXPECT_EQ(PickFields(), (Fields{"301", "Notepad - a.txt", "Notepad"}));
    Release(Qt::LeftButton);
    EXPECT_FALSE(CrossHair()->Picture().isNull());
}

TEST_F(WindowPanelView, OnlyALeftPressOnTheArmedCrosshairStartsADrag) {
    const struct {
        bool armed;
        Qt::MouseButton button;
    } cases[] = {{false, Qt::LeftButton}, {true, Qt::RightButton}, {true, Qt::MiddleButton}};
    for (const auto& c : cases) {
        if (Panel().probe->isChecked() != c.armed)
            Click("Check4");
        SetPickFields("kept");
        Press(c.button);
        EXPECT_FALSE(CrossHair()->Picture().isNull()) << c.armed << c.button;
        EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
        MoveTo({150, 150}, c.button | Qt::LeftButton);
        MoveTo({150, 150}, Qt::LeftButton);
        Release(c.button);
        EXPECT_EQ(PickFields(), (Fields{"kept", "kept", "kept"})) << c.armed << c.button;
    }
}

TEST_F(WindowPanelView, TheTickProbesWhileThePickPageIsSetVisibleAndTheSwitchIsUp) {
    desktop.pointer = {150, 150};
    const Fields probed{"301", "Notepad - a.txt", "Notepad"};
    const Fields kept{"kept", "kept", "kept"};
    const struct {
        const char* name;
        std::function<void()> setUp;
        Fields expected;
    } cases[] = {
        {"pick page, switch up", [] {}, probed},
        {"another mode page on show", [&] { form->SelectModePage(0); }, probed},
        {"switch down", [&] { Click("Check4"); }, kept},
        {"search page", [&] { form->SelectWindowPage(1); }, kept},
        {"search page and back",
         [&] {
             form->SelectWindowPage(1);
             form->SelectWindowPage(0);
         },
         probed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form->SelectModePage(2);
        form->SelectWindowPage(0);
        if (Panel().probe->isChecked())
            Click("Check4");
        SetPickFields("kept");
        c.setUp();
        TickOnce();
        EXPECT_EQ(PickFields(), c.expected);
    }
}

// The readouts show a nudge one tick later, but the probe looks where the
// pointer stands after it: one pixel across a window's edge counts at once.
TEST_F(WindowPanelView, TheTickProbesWhereANudgeLeftThePointer) {
    const struct {
        ScreenPoint from;
        int key;
        Fields expected;
    } cases[] = {
        {{150, 200}, vk::kUp, {"301", "Notepad - a.txt", "Notepad"}},
        {{150, 199}, vk::kDown, {"0", "", ""}},
        {{99, 150}, vk::kRight, {"301", "Notepad - a.txt", "Notepad"}},
    };
    for (const auto& c : cases) {
        desktop.pointer = c.from;
        desktop.keysDown = {c.key};
        SetPickFields("kept");
        controller->Tracking().RunTick();
        EXPECT_EQ(PickFields(), c.expected) << c.from.x << ", " << c.from.y;
    }
}

// A tick that finds what the fields already show leaves them alone, so a
// selection made to copy part of a reading survives the ticks - also for a
// title that is not valid UTF-8, which shows with U+FFFD.
TEST_F(WindowPanelView, TicksLeaveUnchangedFieldsAndTheirSelectionAlone) {
    // A stray byte, a cut sequence and an encoded surrogate.
    desktop.windows[0].title = "Notepad \xFF a.txt \xE4\xB8 \xED\xA0\x80";
    form->SelectModePage(2);
    form->SelectWindowPage(0);
    if (Panel().probe->isChecked())
        Click("Check4");
    desktop.pointer = {150, 150};
    TickOnce();
    QLineEdit* title = form->Field("Text1");
    ReadoutField* x = form->Readout("得x");
    ASSERT_TRUE(title->text().startsWith(QString::fromUtf8("Notepad \xEF\xBF\xBD a.txt ")));
    title->setSelection(8, 3);
    x->setSelection(0, 2);
    TickOnce();
    EXPECT_EQ(title->selectedText(), QString::fromUtf8("\xEF\xBF\xBD a"));
    EXPECT_EQ(x->selectedText(), "15");
    desktop.pointer = {160, 150};
    TickOnce();
    EXPECT_EQ(Text("得x"), "160");
    EXPECT_EQ(title->selectedText(), QString::fromUtf8("\xEF\xBF\xBD a"));
}

// A title too long for its field shows from its start, whichever way it
// came in: a user tells windows apart by how their titles begin.
TEST_F(WindowPanelView, LongTitlesShowFromTheirStart) {
    const std::string title = "Untitled Document 1 - " + std::string(200, 'x');
    desktop.windows[0].title = shell.clipboard = title;
    desktop.pointer = {150, 150};
    const std::pair<std::function<void()>, const char*> writes[] = {
        {[&] { TickOnce(); }, "Text1"},
        {[&] { Click("Command11", 8); }, "Text1"},  // find by handle
        {[&] { Click("Command11", 10); }, "Text4"}, // title paste
    };
    for (const auto& [write, field] : writes) {
        SetPickFields("301");
        form->Field("Text4")->clear();
        write();
        ASSERT_GT(Text(field).size(), 80u);
        EXPECT_EQ(form->Field(field)->cursorPosition(), 0) << field;
    }
}

TEST_F(WindowPanelView, SearchDropsDoubleQuotesAndReplacesTheResults) {
    const struct {
        QString search;
        QString before;
        QString expected;
    } cases[] = {
        {"Notepad", "old", "[1]301\r\n[2]-4\r\n"},
        {"\"Notepad - a.txt\"", "old", "[1]301\r\n"},
        {"\"\"", "old", "[1]301\r\n[2]302\r\n[3]-4\r\n"}, // the empty text is in every title
        {"notepad", "old", ""},
        {"", "old", "old"}, // nothing typed: nothing done
    };
    for (const auto& c : cases) {
        Panel().searchResults->setPlainText(c.before);
        form->Field("Text4")->setText(c.search);
        Click("Command8");
        // The widget shows each CR LF as one line break.
        QString expected = c.expected;
        expected.replace("\r\n", "\n");
        EXPECT_EQ(Panel().searchResults->toPlainText().replace("\r\n", "\n"), expected)
            << c.search.toStdString();
    }
}

TEST_F(WindowPanelView, ListCopyAndDoubleClickPutTheRightTextOnTheClipboard) {
    form->SelectModePage(2);
    form->SelectWindowPage(2);
    ActivateWindow();
    QListWidget* list = Panel().windowList;
    list->addItem("stale line");
    Click("Command9");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), "[002]302=calc]x=1");

    shell.clipboard = "untouched";
    Click("Command10");
    // Lines end as the platform's text does (LF; CR LF on Windows), the last
    // one without.
    const std::string end(kWindowTextLineEnd);
    EXPECT_EQ(shell.clipboard, "[001]301=Notepad - a.txt" + end + "[002]302=calc]x=1" + end +
                                   "[003]-4=Untitled - Notepad");
    EXPECT_TRUE(Panel().copyList->isEnabled());

    // Only a left double click copies; one of another button leaves the
    // clipboard alone.
    const struct {
        Qt::MouseButton button;
        int row;
        const char* handle;
    } picks[] = {{Qt::LeftButton, 1, "302"},
                 {Qt::RightButton, 2, "302"},
                 {Qt::MiddleButton, 2, "302"},
                 {Qt::LeftButton, 2, "-4"},
                 {Qt::LeftButton, 0, "301"}};
    for (const auto& pick : picks) {
        const QRect place = list->visualItemRect(list->item(pick.row));
        // A double click is a click followed by the double-click event.
        QTest::mouseClick(list->viewport(), pick.button, {}, place.center());
        QTest::mouseDClick(list->viewport(), pick.button, {}, place.center());
        EXPECT_EQ(shell.clipboard, pick.handle) << pick.button;
    }

    // One line is copied as it is; an empty list leaves the clipboard alone.
    desktop.windows.resize(1);
    Click("Command9");
    Click("Command10");
    EXPECT_EQ(shell.clipboard, "[001]301=Notepad - a.txt");
    desktop.windows.clear();
    Click("Command9");
    ASSERT_EQ(list->count(), 0);
    const int clears = shell.clears;
    Click("Command10");
    EXPECT_EQ(shell.clipboard, "[001]301=Notepad - a.txt");
    EXPECT_EQ(shell.clears, clears);
}

// The button is disabled while it collects the lines; the focus it had
// stays with it, so a following Space copies again rather than pressing the
// next control in the tab order.
TEST_F(WindowPanelView, CopyingTheListKeepsTheFocusOnItsButton) {
    form->SelectModePage(2);
    form->SelectWindowPage(2);
    ActivateWindow();
    Click("Command9");
    QTest::mouseClick(Panel().copyList, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), Panel().copyList);
    shell.clipboard.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(shell.clipboard.rfind("[001]301=", 0), 0u) << shell.clipboard;
    EXPECT_TRUE(Panel().pages[2]->isVisibleTo(form.get()));
}

} // namespace
} // namespace huegrab
