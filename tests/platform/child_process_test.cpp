// SPDX-License-Identifier: GPL-3.0-or-later
// Helper programs: their output, status and end come back as they were, no
// shell in between, and one that cannot start is said so.

#include "platform/child_process.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <pthread.h>
#include <thread>

namespace huegrab::platform {
namespace {

TEST(ChildProcess, OutputAndEndComeBackAsTheProgramGaveThem) {
    struct Case {
        std::string program;
        std::vector<std::string> arguments;
        std::size_t limit;
        ChildOutcome expected;
    };
    const std::vector<Case> cases = {
        {"printf", {"%s,%s", "12", "-34"}, 100, {0, 0, "12,-34", false, "", false}},
        // Arguments reach it untouched: nothing expands them.
        {"printf", {"%s", "$HOME;*'\""}, 100, {0, 0, "$HOME;*'\"", false, "", false}},
        {"sh",
         {"-c", "printf seen; printf why >&2; exit 3"},
         100,
         {3, 0, "seen", false, "why", false}},
        {"sh", {"-c", "kill -TERM $$"}, 100, {std::nullopt, SIGTERM, "", false, "", false}},
        // Standard input is empty, never the caller's.
        {"cat", {}, 100, {0, 0, "", false, "", false}},
        // Past the limit the rest is read and dropped, and the program ends;
        // a program that fills both pipes at once is read on both.
        {"head", {"-c", "100000", "/dev/zero"}, 5, {0, 0, std::string(5, '\0'), true, "", false}},
        {"sh",
         {"-c", "head -c 100000 /dev/zero >&2; head -c 100000 /dev/zero"},
         3,
         {0, 0, std::string(3, '\0'), true, std::string(3, '\0'), true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program + " " + testing::PrintToString(c.arguments));
        std::string whyNot;
        const auto outcome = RunProgram(c.program, c.arguments, c.limit, whyNot);
        ASSERT_TRUE(outcome) << whyNot;
        EXPECT_EQ(outcome->exitStatus, c.expected.exitStatus);
        EXPECT_EQ(outcome->signal, c.expected.signal);
        EXPECT_EQ(outcome->out, c.expected.out);
        EXPECT_EQ(outcome->outCut, c.expected.outCut);
        EXPECT_EQ(outcome->err, c.expected.err);
        EXPECT_EQ(outcome->errCut, c.expected.errCut);
    }
}

TEST(ChildProcess, AProgramThatCannotStartIsSaidSo) {
    struct Case {
        std::string program;
        std::string whyNot;
    };
    const std::vector<Case> cases = {
        {"huegrab-no-such-helper", "huegrab-no-such-helper is not installed"},
        {"/etc/passwd", "/etc/passwd is not installed"}, // not executable
        {"", " is not installed"},
    };
    for (const Case& c : cases) {
        std::string whyNot;
        EXPECT_FALSE(RunProgram(c.program, {}, 100, whyNot)) << c.program;
        EXPECT_EQ(whyNot, c.whyNot);
    }
    const auto shell = FindProgram("sh");
    ASSERT_TRUE(shell);
    EXPECT_EQ(shell->front(), '/');
    EXPECT_EQ(FindProgram(*shell), shell);
}

// A caller that blocks the termination signals (a thread of a program
// that waits for them elsewhere) still starts a helper that a signal ends.
TEST(ChildProcess, TheHelperGetsDefaultSignalHandling) {
    sigset_t blocked, before;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &blocked, &before), 0);
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGINT, &ignore, &previous);
    std::string whyNot;
    const auto term = RunProgram("sh", {"-c", "kill -TERM $$; exit 9"}, 100, whyNot);
    const auto interrupt = RunProgram("sh", {"-c", "kill -INT $$; exit 9"}, 100, whyNot);
    sigaction(SIGINT, &previous, nullptr);
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    ASSERT_TRUE(term && interrupt) << whyNot;
    EXPECT_EQ(term->signal, SIGTERM);
    EXPECT_EQ(interrupt->signal, SIGINT);
}

TEST(ChildProcess, AStopEndsTheHelperRunningNowOrLater) {
    for (const bool stopFirst : {false, true}) {
        SCOPED_TRACE(stopFirst ? "stopped before it starts" : "stopped while it runs");
        ChildStop stop;
        if (stopFirst)
            stop.Stop();
        std::thread stopper([&] {
            if (!stopFirst) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                stop.Stop();
            }
        });
        std::string whyNot;
        const auto outcome = RunProgram("sleep", {"30"}, 100, whyNot, &stop);
        stopper.join();
        ASSERT_TRUE(outcome) << whyNot;
        EXPECT_EQ(outcome->signal, SIGTERM);
    }
}

} // namespace
} // namespace huegrab::platform
