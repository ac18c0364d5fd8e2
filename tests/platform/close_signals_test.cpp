// SPDX-License-Identifier: GPL-3.0-or-later
// A termination signal reaches the callback, on a thread of its own, and
// none can end the process once the watch is gone.

#include "platform/close_signals.h"

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace huegrab::platform {
namespace {

struct Calls {
    std::mutex mutex;
    std::condition_variable changed;
    int count = 0;
    std::thread::id thread;

    void Note() {
        const std::lock_guard lock(mutex);
        ++count;
        thread = std::this_thread::get_id();
        changed.notify_all();
    }
    bool WaitFor(int wanted) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return count >= wanted; });
    }
};

TEST(CloseSignals, EachSignalCallsBackOffTheSignallingThread) {
    Calls calls;
    {
        const CloseSignals watch([&calls] { calls.Note(); });
        int expected = 0;
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
            ASSERT_EQ(std::raise(signal), 0) << signal;
            ASSERT_TRUE(calls.WaitFor(++expected)) << "no call for signal " << signal;
        }
        const std::lock_guard lock(calls.mutex);
        EXPECT_NE(calls.thread, std::this_thread::get_id());
    }
    // Gone: the process is closing, and a late signal must not end it.
    EXPECT_EQ(std::raise(SIGTERM), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const std::lock_guard lock(calls.mutex);
    EXPECT_EQ(calls.count, 3);
}

} // namespace
} // namespace huegrab::platform
