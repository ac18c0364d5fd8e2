// SPDX-License-Identifier: GPL-3.0-or-later
// The window panel and the clipboard buttons of the built program, under
// openbox, against another program's window and xclip.

#include "tests/e2e/running_huegrab.h"
#include "tests/x11/support/test_client.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace huegrab::e2e {
namespace {

class WindowPanelEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(huegrab.Start());
        client = xtest::TestClient::Connect(huegrab.Server().DisplayName());
        ASSERT_NE(client, nullptr);
        // Another program's window, clear of ours in the bottom-right corner.
        xtest::TestWindowSetup setup;
        setup.x = 800;
        setup.y = 600;
        setup.width = 200;
        setup.height = 150;
        setup.netWmName = "e2e target 窗口";
        setup.className = "DragTarget";
        target = client->CreateWindow(setup);
        ASSERT_NE(target, 0u);
        const auto origin = client->RootPosition(target);
        ASSERT_TRUE(origin);
        targetCentre = {origin->first + 100, origin->second + 75};
        huegrab.Click("Option2", 2); // the window panel
    }

    std::string TargetId() const { return std::to_string(target); }

    RunningHuegrab huegrab{true};
    std::unique_ptr<xtest::TestClient> client;
    xtest::XId target = 0;
    Point targetCentre;
};

TEST_F(WindowPanelEndToEnd, DraggingTheCrosshairOntoAnotherProgramsWindowFillsThePickFields) {
    huegrab.Click("Check4"); // arm the crosshair
    huegrab.Drag("picCrossHair", targetCentre);
    EXPECT_EQ(huegrab.FieldText("Text2"), TargetId());
    EXPECT_EQ(huegrab.FieldText("Text1"), "e2e target 窗口");
    EXPECT_EQ(huegrab.FieldText("Text3"), "DragTarget");

    // The title goes out between double quotes.
    huegrab.Click("Command11", 9);
    EXPECT_EQ(huegrab.Clipboard(), "\"e2e target 窗口\"");

    // An ordinary program's window, over an inner widget and over the title
    // bar the window manager gave it: the window it manages, the one xprop
    // and xdotool know.
    const auto xmessage = xtest::LaunchXmessage(huegrab.Server(), "Untitled - Notepad", 20, 600);
    ASSERT_TRUE(xmessage);
    const auto origin = client->RootPosition(xmessage->window);
    ASSERT_TRUE(origin);
    for (const Point point : {Point{origin->first + 5, origin->second + 5},
                              Point{origin->first + 5, origin->second - 8}}) {
        SCOPED_TRACE(point.y - origin->second);
        huegrab.Drag("picCrossHair", point);
        EXPECT_EQ(huegrab.FieldText("Text2"), std::to_string(xmessage->window));
        EXPECT_EQ(huegrab.FieldText("Text1"), "Untitled - Notepad");
        EXPECT_EQ(huegrab.FieldText("Text3"), "Xmessage");
    }
}

// Minimised, or left behind on another desktop, in the middle of a drag,
// the window loses the pointer and the release goes elsewhere: the
// crosshair is put back all the same.
TEST_F(WindowPanelEndToEnd, ADragCutShortByTheWindowManagerPutsTheCrosshairBack) {
    huegrab.Click("Check4");
    auto crosshairShown = [&] {
        for (const auto& row : huegrab.ScreenColors(huegrab.Inside("picCrossHair"), 30, 30))
            if (std::find(row.begin(), row.end(), "#000000") != row.end())
                return true;
        return false;
    };
    const std::string& id = huegrab.WindowId();
    const struct {
        std::vector<std::string> away, back;
    } ways[] = {
        {{"xdotool", "windowminimize", "--sync", id}, {"xdotool", "windowactivate", "--sync", id}},
        {{"xdotool", "set_desktop", "1"}, {"xdotool", "set_desktop", "0"}},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.away[1]);
        ASSERT_TRUE(crosshairShown());
        auto& server = huegrab.Server();
        const Point start = huegrab.Centre("picCrossHair");
        huegrab.MovePointer(start.x, start.y);
        server.Run({"xdotool", "mousedown", "1"});
        huegrab.MovePointer(targetCentre.x, targetCentre.y);
        server.Run(way.away);
        server.Run({"xdotool", "mouseup", "1"});
        server.Run(way.back);
        const Point over = huegrab.Centre("Label9");
        huegrab.MovePointer(over.x, over.y);
        EXPECT_TRUE(xtest::WaitUntil(crosshairShown));
    }
}

TEST_F(WindowPanelEndToEnd, SearchFindsTheProgramsOwnWindow) {
    huegrab.Click("句柄选项", 1);
    huegrab.SetClipboard("\"Huegrab\"");
    huegrab.Click("Command11", 10); // paste the title, quotes and all
    EXPECT_EQ(huegrab.FieldText("Text4"), "\"Huegrab\"");
    huegrab.Click("Command8");
    const std::string results = huegrab.FieldText("Text5");
    EXPECT_NE(results.find("]" + huegrab.WindowId()), std::string::npos) << results;
    EXPECT_EQ(results.rfind("[1]", 0), 0u) << results;
}

TEST_F(WindowPanelEndToEnd, ListedHandlesGoToTheClipboardAndBackToXdotool) {
    huegrab.Click("句柄选项", 2);
    huegrab.Click("Command9");
    huegrab.Click("Command10");
    const std::string list = huegrab.Clipboard();
    ASSERT_EQ(list.rfind("[001]", 0), 0u) << list;
    EXPECT_NE(list.find("]" + TargetId() + "=e2e target 窗口"), std::string::npos) << list;
    // Lines end as Linux ends them, the last one without; only the windows
    // the window manager manages, no helper windows.
    EXPECT_EQ(list.find('\r'), std::string::npos) << list;
    EXPECT_NE(list.back(), '\n');
    for (const char* helper : {"=Qt Selection Owner", "=Openbox", "=huegrab\n"})
        EXPECT_EQ((list + "\n").find(helper), std::string::npos) << helper << " in " << list;
    const std::string first = list.substr(0, list.find('\n'));

    // A double click on the first line copies its handle, which xdotool
    // takes back to the same window.
    huegrab.DoubleClickAt(huegrab.Inside("List1"));
    const std::string handle = huegrab.Clipboard();
    EXPECT_EQ(first.substr(5, first.find('=') - 5), handle);
    const auto name = huegrab.Server().Run({"xdotool", "getwindowname", handle});
    EXPECT_EQ(name.exitCode, 0);
    EXPECT_EQ(first.substr(first.find('=') + 1), name.output.substr(0, name.output.find('\n')));
}

TEST_F(WindowPanelEndToEnd, HandlePasteAndFindByHandleThroughTheClipboard) {
    huegrab.Click("Check4"); // no live probing over our own fields
    huegrab.SetClipboard(TargetId() + "abc");
    huegrab.Click("Command11", 7);
    EXPECT_EQ(huegrab.FieldText("Text2"), TargetId());
    huegrab.Click("Command11", 8);
    EXPECT_EQ(huegrab.FieldText("Text1"), "e2e target 窗口");
    EXPECT_EQ(huegrab.FieldText("Text3"), "DragTarget");

    huegrab.SetClipboard("  12 , 345678 ");
    huegrab.Click("Command11", 1);
    EXPECT_EQ(huegrab.FieldText("自x"), "12");
    EXPECT_EQ(huegrab.FieldText("自y"), "3456");
}

TEST_F(WindowPanelEndToEnd, APasteAsksAClipboardOwnerThatNeverAnswersOnlyOnce) {
    // Each unanswered request holds the whole window still until the
    // toolkit gives up on it.
    ASSERT_TRUE(client->OwnClipboardWithoutAnswering());
    huegrab.Click("Command11", 7);
    huegrab.Click("Command11", 9); // a copy takes the clipboard over once the paste is done
    const auto requests = client->UnansweredRequestsUntilTakenOver(std::chrono::seconds(40));
    ASSERT_TRUE(requests);
    EXPECT_EQ(requests->size(), 1u) << testing::PrintToString(*requests);
}

} // namespace
} // namespace huegrab::e2e
