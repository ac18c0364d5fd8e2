// SPDX-License-Identifier: GPL-3.0-or-later
// The built huegrab-cli against a private X server, with real clients on
// the other side: xsetroot and test windows give known pixels, xdotool
// moves the pointer.
#include "cursor/cursor_feature_code.h"
#include "tests/cli/usage_cases.h"
#include "tests/x11/x11_server_test.h"
#include "windowtools/window_probe.h"
#include "windowtools/window_walk.h"

#include <gtest/gtest.h>
#include <thread>

namespace huegrab {
namespace {

using namespace std::chrono_literals;

constexpr char kRootLine[] = "c=13395507 hex=CC6633 r=51 g=102 b=204 h=147 s=144 l=120";

class CliOnX11 : public X11ServerTest<640, 480> {
protected:
    void SetUp() override {
        X11ServerTest::SetUp();
        ASSERT_EQ(server_->Run({"xsetroot", "-solid", "#3366CC"}).exitCode, 0);
    }

    static xtest::CommandResult Cli(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), HUEGRAB_CLI);
        xtest::CommandOptions options;
        options.captureErrors = true;
        // Not a Wayland session, whatever the one running the tests is.
        options.environment = {{"WAYLAND_DISPLAY", ""}, {"XDG_SESSION_TYPE", "x11"}};
        return server_->Run(arguments, options);
    }

    // A borderless window that the window manager (there is none) leaves
    // exactly where it is put.
    xtest::XId Spot(int x, int y, int width, int height, std::uint32_t rgb) {
        return client_->CreateWindow(xtest::PlacedRectangle(x, y, width, height, rgb));
    }
};

TEST_F(CliOnX11, AKnownColorReadsBackInEveryForm) {
    const auto line = Cli({"pixel", "10", "10"});
    EXPECT_EQ(line.exitCode, 0);
    EXPECT_EQ(line.output, std::string("x=10 y=10 ") + kRootLine + "\n");
    EXPECT_EQ(line.errors, "");

    EXPECT_EQ(Cli({"pixel", "639", "479", "--format", "{x},{y} {hex} {c} {rhex}"}).output,
              "639,479 CC6633 13395507 33\n");
    EXPECT_EQ(Cli({"lookup", "cc6633"}).output, std::string(kRootLine) + "\n");

    // Web order: the root was set as #3366CC and reads back so.
    const auto web = Cli({"pixel", "--rgb", "5", "5"});
    EXPECT_EQ(web.exitCode, 0);
    EXPECT_EQ(web.output, "x=5 y=5 c=13395507 hex=3366CC r=51 g=102 b=204 h=147 s=144 l=120\n");
    EXPECT_EQ(Cli({"search", "--rgb", "#3366CC", "--region", "7,8,5,5"}).output, "7,8\n");
    EXPECT_EQ(Cli({"wait-pixel", "--rgb", "5", "5", "#3366cc", "--timeout", "0"}).output,
              web.output);

    // The JSON form read by a JSON parser.
    const auto json = Cli({"pixel", "--json", "3", "4"});
    ASSERT_EQ(json.exitCode, 0);
    xtest::CommandOptions parse;
    parse.input = json.output;
    const auto parsed = server_->Run(
        {"python3", "-c",
         "import json, sys; d = json.load(sys.stdin); "
         "print(d['x'], d['y'], d['c'], d['hex'], d['r'], d['g'], d['b'], d['h'], d['s'], d['l'])"},
        parse);
    EXPECT_EQ(parsed.output, "3 4 13395507 CC6633 51 102 204 147 144 120\n");

    // Without a point: the pointer's.
    ASSERT_EQ(Xdotool({"mousemove", "100", "200"}), 0);
    EXPECT_EQ(Cli({"pointer"}).output, "100,200\n");
    EXPECT_EQ(Cli({"pixel"}).output, std::string("x=100 y=200 ") + kRootLine + "\n");

    const auto off = Cli({"pixel", "640", "0"});
    EXPECT_EQ(off.exitCode, 1);
    EXPECT_EQ(off.output, "");
    EXPECT_EQ(off.errors, "huegrab-cli: pixel: 640,0 is off the screen\n");
}

TEST_F(CliOnX11, WaitPixelReturnsWhenAWindowOfTheColorAppears) {
    // The window comes from another thread while the program waits.
    const std::string display = server_->DisplayName();
    std::thread other([display] {
        std::this_thread::sleep_for(300ms);
        auto client = xtest::TestClient::Connect(display);
        xtest::TestWindowSetup setup;
        setup.x = 40;
        setup.y = 40;
        setup.width = 30;
        setup.height = 30;
        setup.rgb = 0x00FF00;
        setup.overrideRedirect = true;
        client->CreateWindow(setup);
        std::this_thread::sleep_for(2s); // the window lives as long as its client
    });
    const auto appeared = Cli({"wait-pixel", "50", "60", "00FF00", "--timeout", "10"});
    other.join();
    EXPECT_EQ(appeared.exitCode, 0) << appeared.errors;
    EXPECT_EQ(appeared.output, "x=50 y=60 c=65280 hex=00FF00 r=0 g=255 b=0 h=80 s=240 l=120\n");

    const auto timedOut = Cli({"wait-pixel", "50", "60", "00FF00", "--timeout", "0.3"});
    EXPECT_EQ(timedOut.exitCode, 1);
    EXPECT_EQ(timedOut.output, "");
    EXPECT_EQ(timedOut.errors, "huegrab-cli: wait-pixel: timed out; 50,60 still shows CC6633\n");

    // --not: returns at once while the pixel already differs.
    ASSERT_NE(Spot(0, 0, 20, 20, 0xFF0000), 0u);
    EXPECT_EQ(Cli({"wait-pixel", "5", "5", "CC6633", "--not", "--timeout", "5"}).output,
              "x=5 y=5 c=255 hex=0000FF r=255 g=0 b=0 h=0 s=240 l=120\n");
}

// A script may wait for hours while other programs change the keyboard
// mapping (xdotool maps each character the keymap lacks onto a spare key),
// and every change is an event on each of the program's connections. They
// must not pile up in the waiting program, nor, while it sleeps, in the X
// server's buffer for it, whether the screen changes meanwhile or stays still.
TEST_F(CliOnX11, AWaitKeepsNoPileOfKeyboardMappingEvents) {
    // The test's own connections would pile the events up as well.
    desktop_.reset();
    client_.reset();
    std::string remaps;
    for (int i = 0; i < 2000; ++i)
        remaps += i % 2 ? "keycode 255 = F21\n" : "keycode 255 = F20\n";
    xtest::CommandOptions remapping;
    remapping.input = remaps;
    xtest::ChildOptions quiet;
    quiet.quiet = true;
    // Freed memory goes back to the heap at once under AddressSanitizer too.
    quiet.environment = {{"ASAN_OPTIONS", "quarantine_size_mb=0"}};
    for (const bool stillScreen : {true, false}) {
        SCOPED_TRACE(stillScreen ? "a still screen" : "a changing screen");
        auto waiting = server_->Launch(
            {HUEGRAB_CLI, "wait-pixel", "5", "5", "123456", "--timeout", "60"}, quiet);
        ASSERT_TRUE(waiting);
        std::this_thread::sleep_for(300ms);
        const auto batch = [&](int round) {
            ASSERT_EQ(server_->Run({"xmodmap", "-"}, remapping).exitCode, 0);
            if (!stillScreen) {
                const char* color = round % 2 ? "#102030" : "#203040";
                ASSERT_EQ(server_->Run({"xsetroot", "-solid", color}).exitCode, 0);
            }
            std::this_thread::sleep_for(1200ms);
        };
        const auto sizes = [&] {
            return std::pair{
                xtest::StatusKilobytes(waiting->Pid(), "VmData").value_or(-1),
                xtest::StatusKilobytes(server_->ServerProcess().Pid(), "VmData").value_or(-1)};
        };
        batch(0);
        const auto [programAfterOne, serverAfterOne] = sizes();
        for (int round = 1; round < 7; ++round)
            batch(round);
        const auto [programAtEnd, serverAtEnd] = sizes();
        // Piled up, each batch takes about 500 KiB of the server or 1.7 MiB
        // of the program; taken, the heaps settle after the first one.
        EXPECT_LT(programAtEnd - programAfterOne, 3072) << programAfterOne;
        EXPECT_LT(serverAtEnd - serverAfterOne, 512) << serverAfterOne;
        EXPECT_TRUE(waiting->Running());
    }
    server_->Run({"xmodmap", "-e", "keycode 255 ="});
    server_->Run({"xsetroot", "-solid", "#3366CC"});
}

// The change watch behind wait-pixel: it wakes for drawing that touches its
// region and sleeps through drawing anywhere else.
TEST_F(CliOnX11, ScreenWatchWakesOnlyForDrawingInsideItsRegion) {
    auto watch = desktop_->WatchScreenChanges({200, 200, 10, 10});
    ASSERT_NE(watch, nullptr);
    // The root colour of SetUp may still be on its way to the screen.
    for (int i = 0; i < 10 && watch->WaitForChange(200ms) == ScreenWait::Changed; ++i) {
    }
    struct Case {
        const char* what;
        ScreenRect window;
        ScreenWait expected;
    };
    const std::vector<Case> cases = {
        {"far away", {300, 300, 20, 20}, ScreenWait::TimedOut},
        {"just right of it", {210, 200, 5, 5}, ScreenWait::TimedOut},
        {"just above it", {200, 195, 10, 5}, ScreenWait::TimedOut},
        {"over a corner", {205, 195, 20, 20}, ScreenWait::Changed},
        {"on its last pixel", {209, 209, 1, 1}, ScreenWait::Changed},
        {"covering it", {150, 150, 100, 100}, ScreenWait::Changed},
    };
    for (const auto& [what, window, expected] : cases) {
        ASSERT_NE(Spot(window.x, window.y, window.width, window.height, 0xFF0000), 0u);
        EXPECT_EQ(watch->WaitForChange(expected == ScreenWait::Changed ? 5000ms : 300ms), expected)
            << what;
        // Each change is reported once.
        EXPECT_EQ(watch->WaitForChange(50ms), ScreenWait::TimedOut) << what;
    }
}

TEST_F(CliOnX11, SearchFindsOnePixelTargetsInRowOrderInsideTheRegion) {
    for (const auto& [x, y] : {std::pair{400, 77}, {123, 200}, {10, 300}})
        ASSERT_NE(Spot(x, y, 1, 1, 0xFFFF00), 0u); // yellow: hex 00FFFF
    ASSERT_NE(Spot(600, 10, 1, 1, 0xFFFF03), 0u);  // blue 3 away from yellow
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string output;
    };
    const std::vector<Case> cases = {
        {{"search", "00FFFF"}, 0, "400,77\n"},
        {{"search", "00FFFF", "--tolerance", "3"}, 0, "600,10\n"},
        {{"search", "00FFFF", "--tolerance", "2"}, 0, "400,77\n"},
        {{"search", "00FFFF", "--region", "0,78,640,402"}, 0, "123,200\n"},
        {{"search", "00FFFF", "--region", "124,78,516,222"}, 1, ""},
        {{"search", "00FFFF", "--region", "0,0,123,300"}, 1, ""},
        {{"search", "00FFFF", "--region", "123,200,1,1"}, 0, "123,200\n"},
        {{"search", "00FFFF", "--region", "-50,250,100,1000"}, 0, "10,300\n"},
        {{"search", "CC6633", "--region", "640,0,10,10"}, 1, ""},
    };
    for (const auto& [arguments, status, output] : cases) {
        const auto result = Cli(arguments);
        EXPECT_EQ(result.exitCode, status) << testing::PrintToString(arguments);
        EXPECT_EQ(result.output, output) << testing::PrintToString(arguments);
    }
}

// What the window commands print is what the window tools give the panel
// for the same windows.
TEST_F(CliOnX11, WindowCommandsPrintTheWindowToolsForms) {
    const auto titled = [&](int x, const std::string& title, const std::string& className) {
        xtest::TestWindowSetup setup;
        setup.x = x;
        setup.y = 300;
        setup.width = 50;
        setup.height = 40;
        setup.netWmName = title;
        setup.className = className;
        setup.overrideRedirect = true;
        return static_cast<WindowHandle>(client_->CreateWindow(setup));
    };
    const WindowHandle alpha = titled(300, "huegrab cli alpha", "CliAlpha");
    const WindowHandle beta = titled(400, "huegrab cli beta \xE6\xA0\x87\xE9\xA2\x98", "CliBeta");
    ASSERT_NE(titled(500, "", "Untitled"), 0);
    ASSERT_NE(alpha, 0);
    ASSERT_NE(beta, 0);
    ASSERT_EQ(Xdotool({"mousemove", "410", "310"}), 0);

    std::string list;
    for (const std::string& line : ListTopLevelWindows(*desktop_))
        list += line + "\n";
    const auto facts = [&](WindowHandle window) {
        const WindowFacts f = DescribeWindow(*desktop_, window);
        return f.handle + "\n" + f.title + "\n" + f.className + "\n";
    };
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string output;
    };
    const std::vector<Case> cases = {
        {{"windows"}, 0, list},
        {{"find", "huegrab cli"}, 0, FindWindowsByTitle(*desktop_, "huegrab cli")},
        {{"find", "\"huegrab cli beta\""}, 0, "[1]" + WindowHandleText(beta) + "\n"},
        {{"find", "HUEGRAB"}, 1, ""},
        {{"window-at", "310", "310"}, 0, facts(alpha)},
        {{"window-at"}, 0, facts(beta)},
        {{"window-at", "5", "5"}, 0, facts(desktop_->WindowFromPoint({5, 5}))},
        {{"window-at", "310", "310", "--json"},
         0,
         "{\"handle\":" + WindowHandleText(alpha) +
             ",\"title\":\"huegrab cli alpha\",\"class\":\"CliAlpha\"}\n"},
        {{"find", "--json", "huegrab cli"},
         0,
         "[{\"handle\":" + WindowHandleText(beta) +
             ",\"title\":\"huegrab cli beta \xE6\xA0\x87\xE9\xA2\x98\",\"class\":\"CliBeta\"},"
             "{\"handle\":" +
             WindowHandleText(alpha) +
             ",\"title\":\"huegrab cli alpha\",\"class\":\"CliAlpha\"}]\n"},
        {{"find", "--json", "HUEGRAB"}, 1, ""},
    };
    for (const auto& [arguments, status, output] : cases) {
        const auto result = Cli(arguments);
        EXPECT_EQ(result.exitCode, status) << testing::PrintToString(arguments);
        EXPECT_EQ(result.output, output) << testing::PrintToString(arguments);
    }
    // The forms themselves, not only agreement.
    EXPECT_NE(list.find("]" + WindowHandleText(alpha) + "=huegrab cli alpha\n"), std::string::npos);
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 2);
    EXPECT_EQ(list.find('\r'), std::string::npos);
    EXPECT_EQ(Cli({"find", "huegrab cli"}).output.find("[2]"),
              3 + WindowHandleText(beta).size() + 1);
    EXPECT_EQ(facts(alpha), WindowHandleText(alpha) + "\nhuegrab cli alpha\nCliAlpha\n");
    EXPECT_EQ(Cli({"find", "HUEGRAB"}).errors,
              "huegrab-cli: find: no window title contains \"HUEGRAB\"\n");
}

// Under a window manager, as users run it: over xmessage's inner widgets and
// over the title bar the window manager gave it, window-at names the window
// xdotool knows by its title; the list holds the windows it manages.
class CliUnderOpenbox : public X11ServerTest<640, 480, true> {};

TEST_F(CliUnderOpenbox, WindowAtNamesTheManagedWindowAndTheListOnlyManagedOnes) {
    const auto xmessage = xtest::LaunchXmessage(*server_, "Untitled - Notepad", 20, 20);
    ASSERT_TRUE(xmessage);
    const auto origin = client_->RootPosition(xmessage->window);
    ASSERT_TRUE(origin);
    const std::string handle = std::to_string(xmessage->window);
    xtest::TestWindowSetup hidden; // a helper window that is never shown
    hidden.map = false;
    hidden.netWmName = "helper";
    ASSERT_NE(client_->CreateWindow(hidden), 0u);
    const auto cli = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), HUEGRAB_CLI);
        return server_->Run(arguments).output;
    };
    for (const int dy : {5, -8}) {
        SCOPED_TRACE(dy);
        const std::string x = std::to_string(origin->first + 5);
        const std::string y = std::to_string(origin->second + dy);
        EXPECT_EQ(cli({"window-at", x, y}), handle + "\nUntitled - Notepad\nXmessage\n");
        EXPECT_EQ(cli({"window-at", "--json", x, y}),
                  "{\"handle\":" + handle +
                      ",\"title\":\"Untitled - Notepad\",\"class\":\"Xmessage\"}\n");
    }
    EXPECT_EQ(cli({"windows"}), "[001]" + handle + "=Untitled - Notepad\n");
    EXPECT_EQ(cli({"find", "Notepad"}), "[1]" + handle + "\n");
}

// Another program's title is data, not lines: what it holds can neither
// add lines to the three of window-at nor forge an entry of the list, for
// readers that split at Unicode's line breaks (NEL, LS, PS) too.
TEST_F(CliOnX11, TitlesWithLineBreaksStayOnTheirLine) {
    xtest::TestWindowSetup setup = xtest::PlacedRectangle(580, 20, 40, 40);
    setup.netWmName = "evil\nline2\r[9]0x1=forged\t\u2028[8]\u0085x\u2029é";
    setup.className = "Cli\nClass\u2028";
    const auto window = static_cast<WindowHandle>(client_->CreateWindow(setup));
    ASSERT_NE(window, 0);

    const std::string title = "evil line2 [9]0x1=forged  [8] x é";
    const auto at = Cli({"window-at", "590", "30"});
    EXPECT_EQ(at.output, WindowHandleText(window) + "\n" + title + "\nCli Class \n");
    const auto list = Cli({"windows"});
    EXPECT_NE(list.output.find("]" + WindowHandleText(window) + "=" + title + "\n"),
              std::string::npos);
    EXPECT_EQ(std::count(list.output.begin(), list.output.end(), '\n'),
              static_cast<std::ptrdiff_t>(ListTopLevelWindows(*desktop_).size()));

    // In JSON the title and class come whole, escaped, as a JSON reader
    // takes them back; a title that is no UTF-8 reads with U+FFFD.
    client_->SetTextProperty(static_cast<xtest::XId>(window), "WM_NAME", "UTF8_STRING",
                             "bad \xFF\xC0\x80 \"q\" \\ \x7F\x01");
    client_->SetTextProperty(static_cast<xtest::XId>(window), "_NET_WM_NAME", "UTF8_STRING", "");
    client_->Sync();
    xtest::CommandOptions parse;
    const std::string reader =
        "import json, sys; d = json.load(sys.stdin); "
        "print(ascii([[w['handle'], w['title'], w['class']] for w in (d if type(d) is list "
        "else [d])]))";
    const std::string expected = "[[" + WindowHandleText(window) +
                                 ", 'bad \\ufffd\\ufffd\\ufffd \"q\" \\\\ \\x7f\\x01', "
                                 "'Cli\\nClass\\u2028']]\n";
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"window-at", "--json", "590", "30"},
          std::vector<std::string>{"find", "--json", "bad"}}) {
        const auto json = Cli(arguments);
        ASSERT_EQ(json.exitCode, 0) << json.errors;
        parse.input = json.output;
        EXPECT_EQ(server_->Run({"python3", "-c", reader}, parse).output, expected) << json.output;
    }
}

// A result that cannot be written is a failure a script can see, whatever
// stands in for stdout; a closed stdout never lets the output reach the X
// connection that takes its number.
TEST_F(CliOnX11, OutputThatCannotBeWrittenFails) {
    const std::string cli = HUEGRAB_CLI;
    const std::string longFormat(9000, 'A');
    for (const std::string& command :
         {cli + " pixel 1 1 >/dev/full", cli + " --help >/dev/full", cli + " lookup FF >&-",
          "exec 1>&-; " + cli + " pixel 1 1 --format " + longFormat,
          "exec 1>&-; " + cli + " window-at 5 5"}) {
        xtest::CommandOptions options;
        options.captureErrors = true;
        const auto result = server_->Run({"sh", "-c", command}, options);
        SCOPED_TRACE(command.substr(0, 80));
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.errors, "huegrab-cli: cannot write the output\n");
    }
}

// The X server going away mid-run is no desktop, as one that never opened.
TEST_F(CliOnX11, ALostServerEndsTheRunWithStatusTwo) {
    std::unique_ptr<xtest::XvfbServer> doomed = xtest::XvfbServer::Start();
    ASSERT_NE(doomed, nullptr);
    xtest::CommandOptions options;
    options.captureErrors = true;
    options.environment = doomed->Environment();
    std::thread killer([&doomed] {
        std::this_thread::sleep_for(500ms);
        doomed->ServerProcess().Terminate();
    });
    const auto result = xtest::RunCommand(
        {HUEGRAB_CLI, "wait-pixel", "5", "5", "123456", "--timeout", "15"}, options);
    killer.join();
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.errors.rfind("huegrab-cli: lost the connection to the X server", 0), 0u)
        << result.errors;
}

TEST_F(CliOnX11, CursorCodeIsTheCursorToolsCode) {
    struct Case {
        std::uint32_t color;
        std::vector<std::string> codes; // methods 0, 1, 2
    };
    const std::vector<Case> cases = {
        {0xFFFFFF, {"1593348757", "121993146", "330168771"}},
        {0x000000, {"0", "2147483647", "2147483647"}},
    };
    ASSERT_EQ(Xdotool({"mousemove", "150", "120"}), 0);
    const std::vector<std::uint8_t> ones(16 * 16, 1);
    for (const auto& [color, codes] : cases) {
        client_->SetBitmapCursor(client_->Root(), 16, 16, ones, ones, 0, 0, color, color);
        client_->Sync();
        EXPECT_EQ(Cli({"cursor-code"}).output, codes[0] + "\n");
        for (int method = 0; method < 3; ++method) {
            const auto result = Cli({"cursor-code", "--method", std::to_string(method)});
            EXPECT_EQ(result.exitCode, 0);
            EXPECT_EQ(result.output, codes[static_cast<std::size_t>(method)] + "\n") << method;
            EXPECT_EQ(
                result.output,
                std::to_string(GetCursorFeatureCode(*desktop_, *desktop_, *desktop_, method).code) +
                    "\n");
        }
    }
}

// In a Wayland session the reading is said to come through XWayland, once,
// on stderr, by the commands that read the desktop; an error stays one line.
TEST_F(CliOnX11, AWaylandSessionIsNamedOnceByTheCommandsThatReadTheDesktop) {
    const std::string note = "huegrab-cli: this is a Wayland session; huegrab-cli runs through "
                             "XWayland. Windows of other programs that draw natively on Wayland "
                             "read as black.\n";
    struct Case {
        xtest::EnvironmentVars environment;
        std::vector<std::string> arguments;
        int status;
        std::string errors;
    };
    const xtest::EnvironmentVars x11 = {{"WAYLAND_DISPLAY", ""}, {"XDG_SESSION_TYPE", "x11"}};
    const xtest::EnvironmentVars display = {{"WAYLAND_DISPLAY", "wayland-0"}};
    const xtest::EnvironmentVars type = {{"XDG_SESSION_TYPE", "wayland"}};
    const std::vector<Case> cases = {
        {x11, {"pixel", "10", "10"}, 0, ""},
        {display, {"pixel", "10", "10"}, 0, note},
        {type, {"windows"}, 0, note},
        {display, {"wait-pixel", "1", "1", "CC6633", "--timeout", "1"}, 0, note},
        {display, {"lookup", "CC6633"}, 0, ""},
        {display, {"pixel", "1"}, 2, "huegrab-cli: pixel: missing Y\n"},
    };
    for (const Case& c : cases) {
        xtest::CommandOptions options;
        options.captureErrors = true;
        options.environment = x11;
        options.environment.insert(options.environment.end(), c.environment.begin(),
                                   c.environment.end());
        std::vector<std::string> command{HUEGRAB_CLI};
        command.insert(command.end(), c.arguments.begin(), c.arguments.end());
        const auto result = server_->Run(command, options);
        EXPECT_EQ(result.exitCode, c.status) << testing::PrintToString(c.arguments);
        EXPECT_EQ(result.errors, c.errors) << testing::PrintToString(c.arguments);
    }
}

TEST_F(CliOnX11, BadUsageAndAMissingDesktopExitWithStatusTwoAndOneLine) {
    for (const auto& [arguments, message] : cli::test::UsageCases()) {
        const auto result = Cli(arguments);
        EXPECT_EQ(result.exitCode, 2) << testing::PrintToString(arguments);
        EXPECT_EQ(result.errors, "huegrab-cli: " + message + "\n");
        EXPECT_EQ(result.output, "");
    }
    xtest::CommandOptions noServer;
    noServer.captureErrors = true;
    noServer.environment = {{"DISPLAY", ":65000"}, {"HUEGRAB_DESKTOP", "x11"}};
    const auto noDesktop = xtest::RunCommand({HUEGRAB_CLI, "pixel", "1", "1"}, noServer);
    EXPECT_EQ(noDesktop.exitCode, 2);
    EXPECT_EQ(noDesktop.errors, "huegrab-cli: cannot open the X display \":65000\".\n");
    // A lookup needs no desktop.
    EXPECT_EQ(xtest::RunCommand({HUEGRAB_CLI, "lookup", "CC6633"}, noServer).exitCode, 0);

    for (const char* command : {"pointer", "pixel", "wait-pixel", "search", "window-at", "windows",
                                "find", "cursor-code", "lookup"}) {
        const auto help = Cli({command, "--help"});
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_EQ(help.output.rfind(std::string("Usage: huegrab-cli ") + command, 0), 0u);
    }
    EXPECT_NE(Cli({"--help"}).output.find("Exit status"), std::string::npos);
}

} // namespace
} // namespace huegrab
