// SPDX-License-Identifier: GPL-3.0-or-later
// PipeWireFrames against a screen cast of the test's own making: an output
// stream on the private daemon of with_pipewire.sh, linked by WirePlumber.
#include "desktop/wayland/pipewire_frames.h"

#include <cstring>
#include <gtest/gtest.h>
#include <mutex>
#include <pipewire/pipewire.h>
#include <spa/buffer/meta.h>
#include <spa/param/video/format-utils.h>
#include <spa/pod/builder.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace huegrab::wayland {
namespace {

using namespace std::chrono_literals;

constexpr std::int32_t kWidth = 64;
constexpr std::int32_t kHeight = 48;
constexpr std::int32_t kCursorSide = 32;

// Pixel (x, y) of a picture tagged `tag`, as 0x00BBGGRR: every pixel differs
// from its neighbours and from the same pixel of another picture.
ColorValue Expected(std::int32_t x, std::int32_t y, std::uint8_t tag) {
    return (x * 4) | ((y * 5) << 8) | (tag << 16);
}

// What one buffer of the screen cast carries.
struct Picture {
    std::uint8_t tag = 1;
    std::optional<ScreenPoint> cursor = std::nullopt; // none: cursor id 0
    spa_region crop{};                                // zero: no crop
    bool empty = false;                               // a cursor-only update
    bool corrupted = false;
};

// A screen cast: an output stream that drives itself, as a compositor's
// does, sending on request the picture last given.
class TestScreenCast {
public:
    TestScreenCast(spa_video_format format, std::int32_t stride)
        : format_(format), stride_(stride) {
        loop_ = pw_thread_loop_new("test-cast", nullptr);
        context_ = pw_context_new(pw_thread_loop_get_loop(loop_), nullptr, 0);
        pw_thread_loop_start(loop_);
        pw_thread_loop_lock(loop_);
        core_ = pw_context_connect(context_, nullptr, 0);
        EXPECT_NE(core_, nullptr);
        stream_ = pw_stream_new(core_, "test-cast",
                                pw_properties_new(PW_KEY_MEDIA_CLASS, "Video/Source", nullptr));
        static const pw_stream_events events = [] {
            pw_stream_events e{};
            e.version = PW_VERSION_STREAM_EVENTS;
            e.state_changed = [](void* data, pw_stream_state, pw_stream_state, const char*) {
                pw_thread_loop_signal(static_cast<TestScreenCast*>(data)->loop_, false);
            };
            e.param_changed = &TestScreenCast::OnParamChanged;
            e.process = &TestScreenCast::OnProcess;
            return e;
        }();
        pw_stream_add_listener(stream_, &listener_, &events, this);
        std::uint8_t buffer[512];
        spa_pod_builder b{};
        spa_pod_builder_init(&b, buffer, sizeof buffer);
        const spa_rectangle size{kWidth, kHeight};
        const spa_fraction rate{0, 1};
        spa_pod_frame f;
        spa_pod_builder_push_object(&b, &f, SPA_TYPE_OBJECT_Format, SPA_PARAM_EnumFormat);
        spa_pod_builder_add(&b, SPA_FORMAT_mediaType, SPA_POD_Id(SPA_MEDIA_TYPE_video),
                            SPA_FORMAT_mediaSubtype, SPA_POD_Id(SPA_MEDIA_SUBTYPE_raw),
                            SPA_FORMAT_VIDEO_format, SPA_POD_Id(format_), SPA_FORMAT_VIDEO_size,
                            SPA_POD_Rectangle(&size), SPA_FORMAT_VIDEO_framerate,
                            SPA_POD_Fraction(&rate), 0);
        const auto* param = static_cast<const spa_pod*>(spa_pod_builder_pop(&b, &f));
        pw_stream_connect(
            stream_, PW_DIRECTION_OUTPUT, PW_ID_ANY,
            static_cast<pw_stream_flags>(PW_STREAM_FLAG_DRIVER | PW_STREAM_FLAG_MAP_BUFFERS),
            &param, 1);
        while (pw_stream_get_node_id(stream_) == SPA_ID_INVALID)
            pw_thread_loop_timed_wait(loop_, 1);
        pw_thread_loop_unlock(loop_);
    }
    ~TestScreenCast() {
        pw_thread_loop_stop(loop_);
        pw_stream_destroy(stream_);
        pw_core_disconnect(core_);
        pw_context_destroy(context_);
        pw_thread_loop_destroy(loop_);
    }
    TestScreenCast(const TestScreenCast&) = delete;
    TestScreenCast& operator=(const TestScreenCast&) = delete;

    std::uint32_t NodeId() const { return pw_stream_get_node_id(stream_); }

    void Send(const Picture& picture) {
        pw_thread_loop_lock(loop_);
        picture_ = picture;
        pw_stream_trigger_process(stream_);
        pw_thread_loop_unlock(loop_);
    }

private:
    static void OnParamChanged(void* data, std::uint32_t id, const spa_pod* param) {
        auto& cast = *static_cast<TestScreenCast*>(data);
        if (id != SPA_PARAM_Format || param == nullptr)
            return;
        std::uint8_t buffer[512];
        spa_pod_builder b{};
        spa_pod_builder_init(&b, buffer, sizeof buffer);
        const spa_pod* params[3];
        spa_pod_frame f;
        spa_pod_builder_push_object(&b, &f, SPA_TYPE_OBJECT_ParamBuffers, SPA_PARAM_Buffers);
        spa_pod_builder_add(&b, SPA_PARAM_BUFFERS_buffers, SPA_POD_Int(4), SPA_PARAM_BUFFERS_blocks,
                            SPA_POD_Int(1), SPA_PARAM_BUFFERS_size,
                            SPA_POD_Int(cast.stride_ * kHeight), SPA_PARAM_BUFFERS_stride,
                            SPA_POD_Int(cast.stride_), SPA_PARAM_BUFFERS_dataType,
                            SPA_POD_CHOICE_FLAGS_Int(1 << SPA_DATA_MemFd), 0);
        params[0] = static_cast<const spa_pod*>(spa_pod_builder_pop(&b, &f));
        const std::pair<spa_meta_type, std::size_t> metas[] = {
            {SPA_META_VideoCrop, sizeof(spa_meta_region)},
            {SPA_META_Cursor,
             sizeof(spa_meta_cursor) + sizeof(spa_meta_bitmap) + kCursorSide * kCursorSide * 4}};
        for (int i = 0; i < 2; ++i) {
            spa_pod_builder_push_object(&b, &f, SPA_TYPE_OBJECT_ParamMeta, SPA_PARAM_Meta);
            spa_pod_builder_add(&b, SPA_PARAM_META_type, SPA_POD_Id(metas[i].first),
                                SPA_PARAM_META_size, SPA_POD_Int(metas[i].second), 0);
            params[i + 1] = static_cast<const spa_pod*>(spa_pod_builder_pop(&b, &f));
        }
        pw_stream_update_params(cast.stream_, params, 3);
    }

    static void OnProcess(void* data) {
        auto& cast = *static_cast<TestScreenCast*>(data);
        pw_buffer* buffer = pw_stream_dequeue_buffer(cast.stream_);
        if (buffer == nullptr)
            return;
        cast.Fill(*buffer->buffer);
        pw_stream_queue_buffer(cast.stream_, buffer);
    }

    void Fill(spa_buffer& buffer) {
        const bool redFirst = format_ == SPA_VIDEO_FORMAT_RGBx || format_ == SPA_VIDEO_FORMAT_RGBA;
        auto* bytes = static_cast<std::uint8_t*>(buffer.datas[0].data);
        // Padding of a colour of its own: a reader ignoring the stride sees it.
        std::memset(bytes, 0xEE, static_cast<std::size_t>(stride_) * kHeight);
        for (std::int32_t y = 0; y < kHeight; ++y) {
            for (std::int32_t x = 0; x < kWidth; ++x) {
                std::uint8_t* p = bytes + y * stride_ + x * 4;
                const auto red = static_cast<std::uint8_t>(x * 4);
                p[redFirst ? 0 : 2] = red;
                p[1] = static_cast<std::uint8_t>(y * 5);
                p[redFirst ? 2 : 0] = picture_.tag;
                p[3] = 0xFF;
            }
        }
        spa_chunk& chunk = *buffer.datas[0].chunk;
        chunk.offset = 0;
        chunk.stride = stride_;
        chunk.size = picture_.empty ? 0 : static_cast<std::uint32_t>(stride_ * kHeight);
        chunk.flags = picture_.corrupted ? SPA_CHUNK_FLAG_CORRUPTED : SPA_CHUNK_FLAG_NONE;
        if (auto* crop = static_cast<spa_meta_region*>(
                spa_buffer_find_meta_data(&buffer, SPA_META_VideoCrop, sizeof(spa_meta_region))))
            crop->region = picture_.crop;
        auto* cursor = static_cast<spa_meta_cursor*>(
            spa_buffer_find_meta_data(&buffer, SPA_META_Cursor, sizeof(spa_meta_cursor)));
        ASSERT_NE(cursor, nullptr) << "no cursor metadata negotiated";
        *cursor = {};
        if (picture_.cursor) {
            cursor->id = 1;
            cursor->position = {picture_.cursor->x, picture_.cursor->y};
        }
    }

    spa_video_format format_;
    std::int32_t stride_;
    Picture picture_;
    pw_thread_loop* loop_ = nullptr;
    pw_context* context_ = nullptr;
    pw_core* core_ = nullptr;
    pw_stream* stream_ = nullptr;
    spa_hook listener_{};
};

// Sends `picture` until `seen` holds: the link may drop the first frames.
template <typename Seen> bool SendUntil(TestScreenCast& cast, const Picture& picture, Seen seen) {
    for (int i = 0; i < 100; ++i) {
        cast.Send(picture);
        for (int j = 0; j < 5; ++j) {
            if (seen())
                return true;
            std::this_thread::sleep_for(10ms);
        }
    }
    return false;
}

std::unique_ptr<PipeWireFrames> ConnectTo(const TestScreenCast& cast) {
    std::string whyNot;
    auto frames = PipeWireFrames::Connect(-1, cast.NodeId(), whyNot);
    EXPECT_NE(frames, nullptr) << whyNot;
    return frames;
}

ColorValue PixelOf(const PipeWireFrames& frames, std::int32_t x, std::int32_t y) {
    const std::optional<PixelBlock> block = frames.ReadBlock(x, y, 1, 1);
    return block ? block->At(x, y) : -2;
}

class PipeWireFramesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { pw_init(nullptr, nullptr); }
};

struct FormatCase {
    const char* name;
    spa_video_format format;
    std::int32_t stride;
};

// Each format, its rows padded or not: the colours in 0x00BBGGRR, blocks
// past the frame's edges invalid there, the pointer from the metadata.
TEST_F(PipeWireFramesTest, ReadsEveryFormatRespectingStride) {
    const FormatCase cases[] = {
        {"BGRx padded", SPA_VIDEO_FORMAT_BGRx, kWidth * 4 + 32},
        {"RGBx padded", SPA_VIDEO_FORMAT_RGBx, kWidth * 4 + 12},
        {"BGRA", SPA_VIDEO_FORMAT_BGRA, kWidth * 4},
        {"RGBA", SPA_VIDEO_FORMAT_RGBA, kWidth * 4},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestScreenCast cast(c.format, c.stride);
        const auto frames = ConnectTo(cast);
        ASSERT_NE(frames, nullptr);
        EXPECT_EQ(frames->ReadBlock(0, 0, 1, 1), std::nullopt);
        EXPECT_FALSE(frames->WaitForFirstFrame(50ms));
        ASSERT_TRUE(SendUntil(cast, {.tag = 7, .cursor = ScreenPoint{10, 20}},
                              [&] { return frames->Pointer().has_value(); }));
        ASSERT_TRUE(frames->WaitForFirstFrame(2s));
        EXPECT_EQ(frames->FrameSize(), (StreamSize{kWidth, kHeight}));
        EXPECT_EQ(frames->Pointer(), (ScreenPoint{10, 20}));
        for (const ScreenPoint p : {ScreenPoint{0, 0}, ScreenPoint{63, 47}, ScreenPoint{31, 17}})
            EXPECT_EQ(PixelOf(*frames, p.x, p.y), Expected(p.x, p.y, 7)) << p.x << "," << p.y;
        // 11 x 11 blocks over the bottom-right and top-left corners.
        for (const ScreenPoint corner : {ScreenPoint{58, 42}, ScreenPoint{-5, -5}}) {
            const auto block = frames->ReadBlock(corner.x, corner.y, 11, 11);
            ASSERT_TRUE(block.has_value());
            ASSERT_EQ(block->pixels.size(), 121u);
            for (std::int32_t y = corner.y; y < corner.y + 11; ++y) {
                for (std::int32_t x = corner.x; x < corner.x + 11; ++x) {
                    const bool on = x >= 0 && y >= 0 && x < kWidth && y < kHeight;
                    ASSERT_EQ(block->At(x, y), on ? Expected(x, y, 7) : kInvalidColor)
                        << x << "," << y;
                }
            }
        }
    }
}

// Frames come only when the screen changes: the last one stays until a
// whole, uncorrupted one replaces it; the pointer follows every buffer that
// says where it is.
TEST_F(PipeWireFramesTest, KeepsTheLastFrameUntilAGoodOneReplacesIt) {
    TestScreenCast cast(SPA_VIDEO_FORMAT_BGRx, kWidth * 4 + 16);
    const auto frames = ConnectTo(cast);
    ASSERT_NE(frames, nullptr);
    ASSERT_TRUE(SendUntil(cast, {.tag = 1, .cursor = ScreenPoint{5, 6}},
                          [&] { return PixelOf(*frames, 1, 1) == Expected(1, 1, 1); }));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(PixelOf(*frames, 1, 1), Expected(1, 1, 1));

    struct Step {
        const char* name;
        Picture picture;
        ScreenPoint pointer;   // what Pointer() answers afterwards
        std::uint8_t frameTag; // whose pixels ReadBlock() answers afterwards
    };
    const Step steps[] = {
        {"cursor-only update", {.tag = 2, .cursor = ScreenPoint{7, 8}, .empty = true}, {7, 8}, 1},
        {"corrupted frame", {.tag = 3, .cursor = ScreenPoint{9, 0}, .corrupted = true}, {9, 0}, 1},
        {"new frame without cursor", {.tag = 4}, {9, 0}, 4},
        {"new frame with cursor", {.tag = 5, .cursor = ScreenPoint{-3, 47}}, {-3, 47}, 5},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        ASSERT_TRUE(SendUntil(cast, step.picture,
                              [&] {
                                  return frames->Pointer() == step.pointer &&
                                         PixelOf(*frames, 1, 1) == Expected(1, 1, step.frameTag);
                              }))
            << "pixel " << PixelOf(*frames, 1, 1);
    }

    // A cropped frame: its own size, its first pixel the region's corner.
    ASSERT_TRUE(SendUntil(cast, {.tag = 6, .crop = {{8, 4}, {16, 10}}}, [&] {
        return frames->FrameSize() == StreamSize{16, 10};
    }));
    EXPECT_EQ(PixelOf(*frames, 0, 0), Expected(8, 4, 6));
    EXPECT_EQ(PixelOf(*frames, 15, 9), Expected(23, 13, 6));
    EXPECT_EQ(PixelOf(*frames, 16, 0), kInvalidColor);
    EXPECT_FALSE(frames->Broken());
}

TEST_F(PipeWireFramesTest, BreaksWhenTheCastEnds) {
    auto cast = std::make_unique<TestScreenCast>(SPA_VIDEO_FORMAT_BGRx, kWidth * 4);
    const auto frames = ConnectTo(*cast);
    ASSERT_NE(frames, nullptr);
    ASSERT_TRUE(SendUntil(*cast, {.tag = 1}, [&] { return frames->FrameSize().has_value(); }));
    cast.reset();
    for (int i = 0; i < 500 && !frames->Broken(); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(frames->Broken());
    EXPECT_EQ(PixelOf(*frames, 1, 1), Expected(1, 1, 1));
}

// A remote that is not there or not PipeWire: no object, and a reason.
TEST_F(PipeWireFramesTest, RefusesARemoteThatIsNotPipeWire) {
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
    close(ends[1]);
    std::string whyNot;
    EXPECT_EQ(PipeWireFrames::Connect(ends[0], 40, whyNot), nullptr);
    EXPECT_NE(whyNot, "");

    whyNot.clear();
    setenv("PIPEWIRE_REMOTE", "huegrab-no-such-remote", 1);
    EXPECT_EQ(PipeWireFrames::Connect(-1, 40, whyNot), nullptr);
    unsetenv("PIPEWIRE_REMOTE");
    EXPECT_NE(whyNot, "");
}

} // namespace
} // namespace huegrab::wayland
