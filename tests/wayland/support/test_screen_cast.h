// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/screen_geometry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <pipewire/pipewire.h>
#include <spa/buffer/meta.h>
#include <spa/param/video/raw.h>

namespace huegrab::wayland {

// What one buffer of a TestScreenCast carries. Pixel (x, y) of the picture
// is red x * 4, green y * 5, blue `tag` (x below 64, y below 52 keep them
// distinct).
struct TestPicture {
    std::uint8_t tag = 1;
    std::optional<ScreenPoint> cursor = std::nullopt; // none: cursor id 0
    spa_region crop{};                                // zero: no crop
    bool empty = false;                               // a cursor-only update
    bool corrupted = false;
};

// A screen cast of the test's own on the session's PipeWire daemon: an
// output stream that drives itself, as a compositor's does, in shared memory
// with rows `stride` bytes apart, crop and cursor metadata, sending a
// picture each time it is asked.
class TestScreenCast {
public:
    TestScreenCast(spa_video_format format, std::int32_t width, std::int32_t height,
                   std::int32_t stride);
    ~TestScreenCast();
    TestScreenCast(const TestScreenCast&) = delete;
    TestScreenCast& operator=(const TestScreenCast&) = delete;

    // The node a consumer connects to.
    std::uint32_t NodeId() const;
    // Sends one buffer with `picture`, when the consumer has one free.
    void Send(const TestPicture& picture);

private:
    struct Destroy {
        void operator()(pw_thread_loop* loop) const { pw_thread_loop_destroy(loop); }
        void operator()(pw_context* context) const { pw_context_destroy(context); }
        void operator()(pw_core* core) const { pw_core_disconnect(core); }
        void operator()(pw_stream* stream) const { pw_stream_destroy(stream); }
    };

    static void OnParamChanged(void* data, std::uint32_t id, const spa_pod* param);
    static void OnProcess(void* data);
    void Fill(spa_buffer& buffer) const;

    spa_video_format format_;
    std::int32_t width_;
    std::int32_t height_;
    std::int32_t stride_;
    TestPicture picture_;
    // In the order of their making: destroyed in reverse.
    std::unique_ptr<pw_thread_loop, Destroy> loop_;
    std::unique_ptr<pw_context, Destroy> context_;
    std::unique_ptr<pw_core, Destroy> core_;
    std::unique_ptr<pw_stream, Destroy> stream_;
    spa_hook listener_{};
};

} // namespace huegrab::wayland
