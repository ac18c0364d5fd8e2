// SPDX-License-Identifier: GPL-3.0-or-later
// Window titles, class names, the top-level walk and the window under a
// point, on a private Xvfb managed by openbox (which reparents its clients
// into frames), with windows of a second client.

#include "desktop/x11/x11_desktop.h"
#include "tests/x11/support/test_client.h"
#include "tests/x11/support/xvfb_server.h"
#include "tests/x11/x11_server_test.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

// Xlib's macros last: gtest's headers use some of their names.
#include "desktop/x11/x11_window_walk.h"

namespace huegrab {
namespace {

using namespace std::chrono_literals;
using xtest::TestClient;
using xtest::TestWindowSetup;
using xtest::XId;
using xtest::XvfbServer;

constexpr int kWidth = 800;
constexpr int kHeight = 600;

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

WindowHandle Handle(XId window) {
    return static_cast<WindowHandle>(window);
}

class X11Windows : public X11ServerTest<kWidth, kHeight, true> {
protected:
    XId Make(const TestWindowSetup& setup) {
        const XId window = client_->CreateWindow(setup);
        EXPECT_NE(window, 0u);
        return window;
    }

    bool Listed(XId window) {
        const auto windows = desktop_->TopLevelWindows();
        return std::find(windows.begin(), windows.end(), Handle(window)) != windows.end();
    }
    // Title and class read one at a time and both at once.
    void ExpectNames(WindowHandle window, const std::string& title, const std::string& className) {
        EXPECT_EQ(desktop_->WindowText(window), title) << window;
        EXPECT_EQ(desktop_->ClassName(window), className) << window;
        const WindowNames both = desktop_->WindowTextAndClass(window);
        EXPECT_EQ(both.title, title) << window;
        EXPECT_EQ(both.className, className) << window;
    }
    // A 200 x 150 override-redirect window at (100, 120) with a 40 x 50
    // child at (20, 30) in it: the window manager leaves it alone, and the
    // window at a point in it is the innermost one.
    struct Target {
        XId window = 0;
        XId child = 0;
        int x = 0;
        int y = 0;
        bool placed = false;
    };
    Target MakeTarget(const std::string& title) {
        TestWindowSetup setup;
        setup.x = 100;
        setup.y = 120;
        setup.width = 200;
        setup.height = 150;
        setup.netWmName = title;
        setup.overrideRedirect = true;
        Target target;
        target.window = Make(setup);
        target.child = client_->CreateChild(target.window, 20, 30, 40, 50, 0xFF0000);
        if (const auto origin = client_->RootPosition(target.window)) {
            std::tie(target.x, target.y) = *origin;
            target.placed = true;
        }
        return target;
    }
    std::ptrdiff_t PlaceInWalk(XId window) {
        const auto windows = desktop_->TopLevelWindows();
        return std::find(windows.begin(), windows.end(), Handle(window)) - windows.begin();
    }
};

// The same server without a window manager: nobody frames, lists or
// marks (WM_STATE) the windows.
class X11WindowsWithoutWm : public X11ServerTest<kWidth, kHeight> {
protected:
    bool Listed(XId window) {
        const auto windows = desktop_->TopLevelWindows();
        return std::find(windows.begin(), windows.end(), Handle(window)) != windows.end();
    }
};

TEST_F(X11WindowsWithoutWm, UnmanagedAndUnmappedWindowsAreListedAsThemselves) {
    TestWindowSetup overrideSetup;
    overrideSetup.netWmName = "popup";
    overrideSetup.overrideRedirect = true;
    const XId popup = client_->CreateWindow(overrideSetup);
    TestWindowSetup plainSetup;
    plainSetup.netWmName = "plain";
    const XId plain = client_->CreateWindow(plainSetup);
    EXPECT_EQ(client_->Parent(popup), client_->Root());
    EXPECT_TRUE(Listed(popup));
    EXPECT_TRUE(Listed(plain));

    TestWindowSetup hiddenSetup;
    hiddenSetup.netWmName = "never shown";
    hiddenSetup.map = false;
    const XId hidden = client_->CreateWindow(hiddenSetup);
    EXPECT_TRUE(Listed(hidden));
    EXPECT_EQ(desktop_->WindowText(Handle(hidden)), "never shown");
}

TEST_F(X11Windows, ManagedWindowsAreListedAsTheirClientWithTitleAndClass) {
    TestWindowSetup setup;
    setup.netWmName = "颜色拾取 – Ünïcödé";
    setup.wmName = "legacy name";
    setup.className = "HuegrabProbe";
    const XId window = Make(setup);

    // openbox has put the window into a frame: the root's child is not it.
    const XId parent = client_->Parent(window);
    ASSERT_NE(parent, client_->Root()) << "not reparented";
    const auto rootChildren = client_->Children(client_->Root());
    XId frame = window;
    for (int depth = 0; depth < 10 && client_->Parent(frame) != client_->Root(); ++depth)
        frame = client_->Parent(frame);
    ASSERT_NE(std::find(rootChildren.begin(), rootChildren.end(), frame), rootChildren.end());

    EXPECT_TRUE(Listed(window));
    EXPECT_FALSE(Listed(frame));
    EXPECT_FALSE(Listed(parent));
    ExpectNames(Handle(window), "颜色拾取 – Ünïcödé", "HuegrabProbe");
}

TEST_F(X11Windows, LegacyTitlesOfEachEncodingReadAsUtf8) {
    const struct {
        const char* type;
        std::string bytes;
        std::string expected;
    } titles[] = {
        {"STRING", "caf\xE9 cr\xE8me", "café crème"}, // Latin-1
        {"STRING", "plain ascii", "plain ascii"},
        {"UTF8_STRING", "标题 title", "标题 title"},
        {"COMPOUND_TEXT", "compound caf\xE9", "compound café"},
    };
    for (const auto& title : titles) {
        SCOPED_TRACE(title.type);
        TestWindowSetup setup;
        setup.wmName = title.bytes;
        setup.wmNameType = title.type;
        setup.overrideRedirect = true; // no frame needed here
        ExpectNames(Handle(Make(setup)), title.expected, "HuegrabTest");
    }
}

TEST_F(X11Windows, LongTitlesAndClassesAreCutTo254BytesOnACharacterBoundary) {
    TestWindowSetup ascii;
    ascii.netWmName = std::string(300, 'a');
    ascii.className = std::string(300, 'C');
    const XId asciiWindow = Make(ascii);
    ExpectNames(Handle(asciiWindow), std::string(254, 'a'), std::string(254, 'C'));

    TestWindowSetup wide; // 100 three-byte characters, 300 bytes
    wide.netWmName = Repeat("中", 100);
    const XId wideWindow = Make(wide);
    const std::string title = desktop_->WindowText(Handle(wideWindow));
    EXPECT_EQ(title.size(), 252u);
    EXPECT_EQ(title, Repeat("中", 84));

    TestWindowSetup legacy; // WM_NAME cut the same way
    legacy.wmName = std::string(260, 'x') + "tail";
    legacy.overrideRedirect = true;
    EXPECT_EQ(desktop_->WindowText(Handle(Make(legacy))), std::string(254, 'x'));
}

// Names of a megabyte, as UTF-8, as UTF-8 in a STRING and as a class: each
// reads as its first 254 bytes, and only a few KiB of each are fetched.
TEST_F(X11Windows, HugeNamesReadAsTheirStartAndAreFetchedOnlyInPart) {
    const std::string huge = Repeat("中", 350000);
    TestWindowSetup specs[3];
    specs[0].netWmName = huge;
    specs[1].wmName = huge;
    specs[2].className = huge;
    x11::WalkAtoms atoms;
    atoms.netWmName = client_->InternAtom("_NET_WM_NAME");
    atoms.utf8String = client_->InternAtom("UTF8_STRING");
    for (const TestWindowSetup& setup : specs) {
        const XId window = Make(setup);
        ExpectNames(Handle(window), setup.className == huge ? "" : Repeat("中", 84),
                    setup.className == huge ? Repeat("中", 84) : "HuegrabTest");
        const auto read = x11::ReadNamesAndClass(client_->Connection(), window, atoms);
        for (const auto& value : {read.names.netWmName, read.names.wmName, read.wmClass})
            EXPECT_LE(value ? value->bytes.size() : 0, 4096u);
    }
}

TEST_F(X11Windows, WindowsWithoutTitleOrClassReadEmpty) {
    TestWindowSetup setup;
    setup.instanceName.clear();
    setup.className.clear();
    const XId window = Make(setup);
    EXPECT_TRUE(Listed(window));
    ExpectNames(Handle(window), "", "");

    TestWindowSetup instanceOnly; // WM_CLASS "name\0\0": the class half is empty
    instanceOnly.className.clear();
    instanceOnly.netWmName = "has a title";
    ExpectNames(Handle(Make(instanceOnly)), "has a title", "");
}

TEST_F(X11Windows, TheWalkIsTopmostFirst) {
    TestWindowSetup setup;
    setup.netWmName = "lower";
    const XId lower = Make(setup);
    setup.netWmName = "upper";
    setup.x = 50;
    const XId upper = Make(setup);
    EXPECT_LT(PlaceInWalk(upper), PlaceInWalk(lower));

    client_->RaiseWindow(lower); // the window manager restacks the frames
    EXPECT_TRUE(xtest::WaitUntil([&] { return PlaceInWalk(lower) < PlaceInWalk(upper); }));
}

// In a window the window manager leaves alone (override-redirect).
TEST_F(X11Windows, WindowFromPointFindsTheInnermostWindow) {
    const Target target = MakeTarget("target");
    ASSERT_TRUE(target.placed);
    const auto [window, child, x, y, placed] = target;

    EXPECT_EQ(desktop_->WindowFromPoint({x + 5, y + 5}), Handle(window));
    EXPECT_EQ(desktop_->WindowFromPoint({x + 199, y + 149}), Handle(window));
    EXPECT_EQ(desktop_->WindowFromPoint({x + 20, y + 30}), Handle(child));
    EXPECT_EQ(desktop_->WindowFromPoint({x + 59, y + 79}), Handle(child));
    EXPECT_EQ(desktop_->WindowFromPoint({x + 60, y + 79}), Handle(window));
    // The same point as the pointer sees it, not only where the pointer is.
    ASSERT_EQ(server_->Run({"xdotool", "mousemove", "0", "0"}).exitCode, 0);
    EXPECT_EQ(desktop_->WindowFromPoint({x + 25, y + 35}), Handle(child));
}

// The window at a point is the one the user means, as xprop and xwininfo
// find it on a click: under the window manager the client it framed, over
// its title bar and inner widgets too; in an override-redirect window the
// innermost window; never an InputOnly one. The same through every way in:
// a lookup alone, the probe's lookup with names, and one led by the
// pointer's read; each twice, the second over what the first remembered.
TEST_F(X11Windows, TheWindowAtAPointIsTheClientTheWindowManagerFramed) {
    auto xmessage = xtest::LaunchXmessage(*server_, "Untitled - Notepad", 20, 20);
    ASSERT_TRUE(xmessage);
    const XId notepad = xmessage->window;
    ASSERT_NE(client_->Parent(notepad), client_->Root()) << "not framed";
    const auto notepadAt = client_->RootPosition(notepad);
    TestWindowSetup managedSetup;
    managedSetup.x = 300;
    managedSetup.y = 100;
    managedSetup.width = 150;
    managedSetup.height = 100;
    managedSetup.netWmName = "managed";
    managedSetup.className = "Managed";
    const XId managed = Make(managedSetup);
    const XId managedChild = client_->CreateChild(managed, 10, 10, 50, 50, 0xFF0000);
    const auto managedAt = client_->RootPosition(managed);
    TestWindowSetup popupSetup = xtest::PlacedRectangle(500, 300, 100, 100);
    popupSetup.netWmName = "popup";
    const XId popup = Make(popupSetup);
    const XId popupChild = client_->CreateChild(popup, 0, 0, 50, 50, 0x00FF00);
    client_->CreateInputOnlyChild(popup, 50, 50, 50, 50);
    client_->CreateInputOnlyChild(popupChild, 0, 0, 20, 20);
    TestWindowSetup glass = xtest::PlacedRectangle(650, 300, 50, 50);
    glass.inputOnly = true;
    Make(glass);
    client_->Sync();
    ASSERT_TRUE(notepadAt && managedAt);
    const auto [nx, ny] = *notepadAt;
    const auto [mx, my] = *managedAt;

    struct Case {
        const char* where;
        ScreenPoint point;
        XId expected;
        std::string title;
        std::string className;
    };
    const Case cases[] = {
        {"xmessage's inner widget", {nx + 5, ny + 5}, notepad, "Untitled - Notepad", "Xmessage"},
        {"xmessage's title bar", {nx + 5, ny - 8}, notepad, "Untitled - Notepad", "Xmessage"},
        {"a managed window's child", {mx + 15, my + 15}, managed, "managed", "Managed"},
        {"a managed window", {mx + 100, my + 80}, managed, "managed", "Managed"},
        {"a managed window's title bar", {mx + 100, my - 8}, managed, "managed", "Managed"},
        {"an override-redirect window's child", {510, 330}, popupChild, "", ""},
        {"an InputOnly window in it", {560, 360}, popup, "popup", "HuegrabTest"},
        {"an InputOnly window in its child", {505, 305}, popupChild, "", ""},
        {"an InputOnly top-level window", {660, 310}, client_->Root(), "", ""},
    };
    IdleHookLoop loop;
    desktop_->AttachEventLoop(loop);
    for (int round = 0; round < 2; ++round) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.where) + (round ? ", again" : ""));
            EXPECT_EQ(desktop_->WindowFromPoint(c.point), Handle(c.expected));
            for (const bool led : {false, true}) {
                loop.sleeping();
                if (led) {
                    ASSERT_EQ(Xdotool({"mousemove", std::to_string(c.point.x),
                                       std::to_string(c.point.y)}),
                              0);
                    ASSERT_EQ(desktop_->ReadPointerAndKeys({}).position, c.point);
                }
                const WindowAtPoint found = desktop_->WindowAndNamesAt(c.point);
                EXPECT_EQ(found.window, Handle(c.expected)) << (led ? "led" : "");
                EXPECT_EQ(found.names.title, c.title) << (led ? "led" : "");
                EXPECT_EQ(found.names.className, c.className) << (led ? "led" : "");
            }
        }
    }
    // The handle is the one xdotool knows by that title.
    EXPECT_EQ(server_->Run({"xdotool", "getwindowname", std::to_string(notepad)}).output,
              "Untitled - Notepad\n");
    EXPECT_NE(managedChild, managed);
}

// The list and the search cover the windows the window manager manages,
// topmost first as it stacks them: no window it leaves alone (a popup), no
// helper window that is never shown, none of its own ("Openbox").
TEST_F(X11Windows, TheListHoldsTheWindowsTheWindowManagerManages) {
    auto xmessage = xtest::LaunchXmessage(*server_, "listed xmessage", 20, 20);
    ASSERT_TRUE(xmessage);
    struct Case {
        const char* what;
        TestWindowSetup setup;
        bool listed;
    };
    std::vector<Case> cases(5);
    cases[0] = {"a managed window", {}, true};
    cases[1] = {"a popup", xtest::PlacedRectangle(10, 10, 20, 20), false};
    cases[2] = {"a helper never shown", {}, false};
    cases[2].setup.map = false;
    cases[3] = {"an InputOnly popup", xtest::PlacedRectangle(40, 10, 20, 20), false};
    cases[3].setup.inputOnly = true;
    cases[4] = {"a managed window made last", {}, true};
    std::vector<XId> made;
    for (Case& c : cases) {
        c.setup.netWmName = c.what;
        made.push_back(Make(c.setup));
    }
    const auto titled = desktop_->TitledTopLevelWindows();
    const auto place = [&](XId window) {
        return std::find_if(titled.begin(), titled.end(),
                            [&](const TitledWindow& t) { return t.handle == Handle(window); }) -
               titled.begin();
    };
    const auto end = static_cast<std::ptrdiff_t>(titled.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        EXPECT_EQ(place(made[i]) != end, cases[i].listed);
        EXPECT_EQ(Listed(made[i]), cases[i].listed);
    }
    EXPECT_NE(place(xmessage->window), end);
    EXPECT_LT(place(made[4]), place(made[0])); // topmost first
    EXPECT_LT(place(made[0]), place(xmessage->window));
    for (const TitledWindow& window : titled)
        EXPECT_NE(window.title, "Openbox");
}

// The probe's read of window and names together answers as the two reads
// one after the other, whether the window of the call before is found again
// (with a title changed since), another one is, or that one is gone.
TEST_F(X11Windows, WindowAndNamesAtAnswersAsTheTwoReadsDo) {
    const Target target = MakeTarget("first");
    ASSERT_TRUE(target.placed);
    const auto [window, child, x, y, placed] = target;
    const XId other = client_->CreateWindow(xtest::PlacedRectangle(600, 400, 50, 50));
    client_->Sync();

    testing::internal::CaptureStderr();
    IdleHookLoop loop;
    desktop_->AttachEventLoop(loop);
    ASSERT_TRUE(loop.sleeping);
    // Each case twice: as a lookup alone, and led by a pointer read at the
    // point (the tick's order), where the lookup starts from what the
    // pointer's answer told. The loop runs between the two, as between ticks.
    const auto expect = [&](ScreenPoint point, const std::string& title, const char* step,
                            bool ledFirst = false) {
        const bool onScreen = point.x < kWidth;
        for (const bool led : {ledFirst, !ledFirst}) {
            if (led && !onScreen)
                continue;
            SCOPED_TRACE(std::string(step) + (led ? ", led by the pointer" : ""));
            loop.sleeping();
            if (led) {
                ASSERT_EQ(server_
                              ->Run({"xdotool", "mousemove", std::to_string(point.x),
                                     std::to_string(point.y)})
                              .exitCode,
                          0);
                ASSERT_EQ(desktop_->ReadPointerAndKeys({}).position, point);
            }
            const WindowAtPoint both = desktop_->WindowAndNamesAt(point);
            const WindowHandle alone = desktop_->WindowFromPoint(point);
            EXPECT_EQ(both.window, alone);
            EXPECT_EQ(both.names.title, title);
            const WindowNames names = desktop_->WindowTextAndClass(alone);
            EXPECT_EQ(both.names.title, names.title);
            EXPECT_EQ(both.names.className, names.className);
        }
    };
    expect({x + 5, y + 5}, "first", "first look");
    expect({x + 6, y + 5}, "first", "the same window again");
    ASSERT_EQ(server_->Run({"xdotool", "set_window", "--name", "renamed", std::to_string(window)})
                  .exitCode,
              0);
    expect({x + 6, y + 5}, "renamed", "the same window, renamed");
    expect({x + 25, y + 35}, "", "its child");
    EXPECT_EQ(desktop_->WindowFromPoint({x + 25, y + 35}), Handle(child));
    expect({610, 410}, "", "another window");
    client_->DestroyWindow(other);
    expect({610, 410}, "", "that window gone: the root");
    expect({kWidth, 0}, "", "off the screen");
    expect({x + 5, y + 5}, "renamed", "back");
    // The window found last gone before the pointer read that leads the next lookup.
    const XId third = client_->CreateWindow(xtest::PlacedRectangle(700, 400, 50, 50));
    client_->Sync();
    expect({710, 410}, "", "a third window");
    client_->DestroyWindow(third);
    expect({710, 410}, "", "the third window gone", true);
    // Widgets nested past the descent's limit: led or not, it stops at the same one.
    XId nested = client_->CreateWindow(xtest::PlacedRectangle(700, 500, 50, 50));
    for (int level = 0; level < 70; ++level)
        nested = client_->CreateChild(nested, 0, 0, 50, 50, 0);
    client_->Sync();
    expect({710, 510}, "", "a window nested 70 deep", true);
    // A pointer read elsewhere leads nothing: the lookup walks from the root.
    ASSERT_EQ(server_->Run({"xdotool", "mousemove", "610", "410"}).exitCode, 0);
    desktop_->ReadPointerAndKeys({});
    expect({x + 25, y + 35}, "", "the pointer elsewhere");
    // A pointer read that no lookup follows (the panel not probing) lets its
    // names go before the loop sleeps, and asks none until a lookup runs.
    desktop_->ReadPointerAndKeys({});
    loop.sleeping();
    expect({x + 5, y + 5}, "renamed", "after a lead that went unused", true);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// Over the same window the probe keeps the names it read until the server
// reports a change to them; a window destroyed (before the lookup, or even
// before its watch) and its id given to a new window reads as the new one,
// whose changes are followed; and the watch for a window's names and the
// watch for its end each outlast the other.
TEST_F(X11Windows, WindowAndNamesAtFollowsWhatTheServerReportsBetweenTicks) {
    testing::internal::CaptureStderr();
    IdleHookLoop loop;
    desktop_->AttachEventLoop(loop);
    ASSERT_TRUE(loop.sleeping);
    TestWindowSetup setup = xtest::PlacedRectangle(500, 100, 60, 60);
    setup.wmName = "before";
    const XId window = Make(setup);
    // A tick: the loop hands on what came since the one before, then the lookup.
    const auto tick = [&](ScreenPoint point) {
        loop.sleeping();
        return desktop_->WindowAndNamesAt(point);
    };
    const auto expect = [&](const WindowAtPoint& found, XId expected, const std::string& title,
                            const std::string& className) {
        EXPECT_EQ(found.window, Handle(expected));
        EXPECT_EQ(found.names.title, title);
        EXPECT_EQ(found.names.className, className);
    };
    constexpr ScreenPoint kOver{510, 110};
    expect(tick(kOver), window, "before", "HuegrabTest");

    struct Change {
        const char* property;
        const char* type;
        std::string value;
        const char* title;
        const char* className;
    };
    const Change changes[] = {
        {"WM_NAME", "STRING", "renamed", "renamed", "HuegrabTest"},
        {"_NET_WM_NAME", "UTF8_STRING", "ünï", "ünï", "HuegrabTest"},
        {"WM_CLASS", "STRING", std::string("a\0Other\0", 8), "ünï", "Other"},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.property);
        client_->SetTextProperty(window, change.property, change.type, change.value);
        client_->Sync();
        expect(tick(kOver), window, change.title, change.className);
    }

    // A new window given a destroyed one's id reads as itself, renames and all.
    setup.className = "Reused";
    const auto reuse = [&](XId id, const std::string& title) {
        client_->ReuseIdForNextWindow(id);
        setup.wmName = title;
        ASSERT_EQ(Make(setup), id);
        expect(tick(kOver), id, title, "Reused");
        client_->SetTextProperty(id, "WM_NAME", "STRING", title + ", renamed");
        client_->Sync();
        expect(tick(kOver), id, title + ", renamed", "Reused");
    };
    client_->DestroyWindow(window);
    reuse(window, "after");

    bool gone = false;
    desktop_->WatchWindowDestroyed(Handle(window), [&] { gone = true; });
    expect(tick({5, 5}), client_->Root(), "", "");
    client_->DestroyWindow(window);
    loop.sleeping();
    EXPECT_TRUE(gone) << "the names watch let go of the window, and took the end's watch along";

    setup.wmName = "kept";
    const XId second = Make(setup);
    desktop_->WatchWindowDestroyed(Handle(second), [] {});
    expect(tick(kOver), second, "kept", "Reused");
    desktop_->WatchWindowDestroyed(0, nullptr);
    client_->SetTextProperty(second, "WM_NAME", "STRING", "still followed");
    client_->Sync();
    expect(tick(kOver), second, "still followed", "Reused");

    // A window gone between the pointer's answer and the lookup is still
    // found (the led descent starts at it), but too late to be watched: a
    // window given its id afterwards reads as itself, changes followed.
    expect(tick({5, 5}), client_->Root(), "", "");
    ASSERT_EQ(server_->Run({"xdotool", "mousemove", "510", "110"}).exitCode, 0);
    loop.sleeping();
    ASSERT_EQ(desktop_->ReadPointerAndKeys({}).position, kOver);
    client_->DestroyWindow(second);
    expect(desktop_->WindowAndNamesAt(kOver), second, "", "");
    reuse(second, "reborn");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// The selections of the backend's connection, on a server where no window
// manager selects anything of its own.
class X11EventMasks : public X11ServerTest<320, 240> {};

// A selection reaches the server without waiting for the backend's next
// round trip: the root's size changes are followed from the moment the
// desktop is open, whatever it is asked first.
TEST_F(X11EventMasks, TheRootsSizeChangesAreSelectedOnceTheDesktopIsOpen) {
    const auto selected = client_->AllEventMasks(client_->Root());
    ASSERT_TRUE(selected);
    EXPECT_NE(*selected & StructureNotifyMask, 0);
}

TEST_F(X11Windows, WindowFromPointOffTheWindowsGivesTheRootOrNothing) {
    const WindowHandle root = Handle(client_->Root());
    EXPECT_EQ(desktop_->WindowFromPoint({kWidth - 1, kHeight - 1}), root);
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    for (const ScreenPoint point :
         {ScreenPoint{-1, 0}, ScreenPoint{0, -1}, ScreenPoint{kWidth, 0}, ScreenPoint{0, kHeight},
          ScreenPoint{kMin, kMin}, ScreenPoint{kMax, kMax}, ScreenPoint{70000, 10}})
        EXPECT_EQ(desktop_->WindowFromPoint(point), 0) << point.x << "," << point.y;
}

TEST_F(X11Windows, HandlesThatAreNoWindowReadEmptyWithoutAnError) {
    TestWindowSetup setup;
    setup.netWmName = "short lived";
    const XId gone = Make(setup);
    client_->DestroyWindow(gone);
    const XId pixmap = client_->CreatePixmap();

    testing::internal::CaptureStderr();
    for (const WindowHandle handle :
         {Handle(gone), Handle(pixmap), 0, -1, std::numeric_limits<WindowHandle>::min(),
          std::numeric_limits<WindowHandle>::max(), 0x1FFFFFFF}) {
        ExpectNames(handle, "", "");
    }
    EXPECT_FALSE(Listed(gone));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(X11Windows, WindowsDestroyedDuringTheWalkAreSkippedOrReadEmpty) {
    testing::internal::CaptureStderr();
    for (int round = 0; round < 4; ++round) {
        // Another program's windows: some managed (framed by openbox), most
        // merely created, all destroyed while the walk reads them.
        auto other = TestClient::Connect(server_->DisplayName());
        ASSERT_NE(other, nullptr);
        std::vector<XId> windows;
        for (int i = 0; i < 60; ++i) {
            TestWindowSetup setup;
            setup.x = (i % 10) * 70;
            setup.y = (i / 10) * 80;
            setup.width = 60;
            setup.height = 60;
            setup.netWmName = "race " + std::to_string(i);
            setup.className = "Race";
            setup.map = i < 6;
            windows.push_back(other->CreateWindow(setup));
        }
        std::atomic<bool> done = false;
        std::thread destroyer([&] {
            for (const XId window : windows) {
                other->DestroyWindowAsync(window);
                std::this_thread::sleep_for(200us);
            }
            other->Sync();
            done = true;
        });
        int walks = 0;
        while (!done || walks < 3) {
            ++walks;
            for (const TitledWindow& window : desktop_->TitledTopLevelWindows())
                EXPECT_FALSE(window.title.empty());
            for (const WindowHandle handle : desktop_->TopLevelWindows()) {
                const std::string title = desktop_->WindowText(handle);
                const std::string className = desktop_->ClassName(handle);
                if (title.rfind("race ", 0) == 0) {
                    EXPECT_TRUE(className == "Race" || className.empty()) << className;
                }
            }
            for (int i = 0; i < 6; ++i)
                desktop_->WindowFromPoint({(i % 10) * 70 + 30, 30});
        }
        destroyer.join();
        for (const XId window : windows) {
            EXPECT_EQ(desktop_->WindowText(Handle(window)), "");
            EXPECT_FALSE(Listed(window));
        }
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// Without a window manager the window at a point is the innermost one, an
// inner widget of xmessage say, as it always was.
TEST_F(X11WindowsWithoutWm, TheWindowAtAPointIsTheInnermostWindow) {
    auto xmessage = xtest::LaunchXmessage(*server_, "bare xmessage", 20, 20);
    ASSERT_TRUE(xmessage);
    const XId window = xmessage->window;
    ASSERT_EQ(client_->Parent(window), client_->Root());
    const auto at = client_->RootPosition(window);
    ASSERT_TRUE(at);
    const ScreenPoint point{at->first + 5, at->second + 5};
    const WindowHandle found = desktop_->WindowFromPoint(point);
    EXPECT_EQ(desktop_->WindowAndNamesAt(point).window, found);
    EXPECT_NE(found, Handle(window));
    XId inside = static_cast<XId>(found);
    while (inside != 0 && inside != window && inside != client_->Root())
        inside = client_->Parent(inside);
    EXPECT_EQ(inside, window) << "not one of xmessage's windows";
    EXPECT_TRUE(Listed(window));
}

// A window manager's lists count while it runs (its check window names
// itself), and only for windows it still manages (WM_STATE); one that has
// gone leaves them behind, and then the top-level windows are walked.
TEST_F(X11WindowsWithoutWm, AWindowManagersListCountsOnlyWhileItRuns) {
    TestWindowSetup setup;
    setup.netWmName = "managed";
    const XId managed = client_->CreateWindow(setup);
    client_->SetTextProperty(managed, "WM_STATE", "WM_STATE", "12345678");
    setup.netWmName = "withdrawn";
    const XId withdrawn = client_->CreateWindow(setup);
    setup.netWmName = "unlisted";
    const XId unlisted = client_->CreateWindow(setup);
    setup.map = false;
    setup.netWmName.clear();
    const XId check = client_->CreateWindow(setup);
    const XId root = client_->Root();
    client_->SetWindowsProperty(root, "_NET_CLIENT_LIST_STACKING", {withdrawn, managed});
    client_->SetWindowsProperty(root, "_NET_SUPPORTING_WM_CHECK", {check});
    const struct {
        const char* state;
        std::vector<XId> checkNames; // what the check window names
        std::vector<XId> listed;
        std::vector<XId> unlisted;
    } cases[] = {
        {"running", {check}, {managed}, {withdrawn, unlisted}},
        {"gone, its check window left", {}, {managed, withdrawn, unlisted}, {}},
        {"gone, another window's id in the check", {managed}, {managed, withdrawn, unlisted}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        client_->SetWindowsProperty(check, "_NET_SUPPORTING_WM_CHECK", c.checkNames);
        client_->Sync();
        for (const XId window : c.listed)
            EXPECT_TRUE(Listed(window)) << window;
        for (const XId window : c.unlisted)
            EXPECT_FALSE(Listed(window)) << window;
    }
    client_->SetWindowsProperty(root, "_NET_CLIENT_LIST_STACKING", {});
    client_->SetWindowsProperty(root, "_NET_SUPPORTING_WM_CHECK", {});
}

// Without a window manager's stacking the walk goes over the top-level
// windows; a window manager's _NET_CLIENT_LIST (here one of our own making)
// saves the search below a frame it names a client of.
TEST_F(X11WindowsWithoutWm, TheBatchedWalkFindsWhatTheOneByOneWalkFinds) {
    const auto Make = [&](const TestWindowSetup& setup) {
        return client_->CreateWindow(setup);
    };
    // Top-level windows, with and without titles.
    for (const char* title : {"managed one", "", "managed two"}) {
        TestWindowSetup setup;
        setup.netWmName = title;
        Make(setup);
    }
    TestWindowSetup legacy;
    legacy.wmName = "legacy caf\xE9";
    Make(legacy);
    // Top-level windows no window manager knows: a popup, a never-mapped
    // window, and two home-made frames, one holding its client two levels
    // down, one holding it past the 256 windows a search looks at.
    TestWindowSetup bare;
    bare.overrideRedirect = true;
    bare.netWmName = "popup";
    const XId popup = Make(bare);
    bare.map = false;
    bare.netWmName = "unmapped";
    Make(bare);
    bare.netWmName = "";
    const XId frame = Make(bare);
    const XId plate = client_->CreateChild(frame, 0, 0, 50, 50, 0x808080);
    client_->CreateChild(frame, 50, 0, 50, 50, 0x808080);
    const XId client = client_->CreateChild(plate, 0, 0, 40, 40, 0xFF0000);
    client_->SetTextProperty(client, "WM_STATE", "WM_STATE", "12345678");
    client_->SetTextProperty(client, "_NET_WM_NAME", "UTF8_STRING", "inner client");
    client_->SetWindowsProperty(client_->Root(), "_NET_CLIENT_LIST", {client});
    const XId wideFrame = Make(bare);
    client_->SetTextProperty(wideFrame, "WM_NAME", "STRING", "wide frame");
    XId lastChild = 0;
    for (int i = 0; i < 300; ++i)
        lastChild = client_->CreateChild(wideFrame, i % 100, 0, 1, 1, 0);
    client_->SetTextProperty(lastChild, "WM_STATE", "WM_STATE", "12345678");
    // A titled window whose own widgets nest deeper than a frame ever does.
    const XId deep = Make(bare);
    client_->SetTextProperty(deep, "WM_NAME", "STRING", "deep window");
    for (XId level = deep, i = 0; i < 70; ++i)
        level = client_->CreateChild(level, 0, 0, 10, 10, 0);
    client_->Sync();

    const auto oneByOne = desktop_->TopLevelWindowsOneByOne();
    EXPECT_EQ(desktop_->TopLevelWindows(), oneByOne);
    std::vector<TitledWindow> expected;
    for (const WindowHandle window : oneByOne) {
        if (std::string title = desktop_->WindowText(window); !title.empty())
            expected.push_back({window, std::move(title)});
    }
    const auto titled = desktop_->TitledTopLevelWindows();
    EXPECT_EQ(titled, expected);

    // The cases themselves, so that a walk both ways wrong shows too.
    auto has = [&](XId window, const std::string& title) {
        return std::find(titled.begin(), titled.end(), TitledWindow{Handle(window), title}) !=
               titled.end();
    };
    EXPECT_TRUE(has(popup, "popup"));
    EXPECT_TRUE(has(client, "inner client"));
    EXPECT_TRUE(has(wideFrame, "wide frame"));
    EXPECT_TRUE(has(deep, "deep window"));
    EXPECT_EQ(
        std::count_if(titled.begin(), titled.end(),
                      [](const auto& window) { return window.title.rfind("managed ", 0) == 0; }),
        2);
    EXPECT_TRUE(std::any_of(titled.begin(), titled.end(),
                            [](const auto& window) { return window.title == "legacy café"; }));
    client_->SetWindowsProperty(client_->Root(), "_NET_CLIENT_LIST", {});
}

} // namespace
} // namespace huegrab
