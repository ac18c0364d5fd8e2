// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/wayland/support/test_screen_cast.h"

#include <cstring>
#include <spa/param/video/format-utils.h>
#include <spa/pod/builder.h>
#include <utility>

namespace huegrab::wayland {
namespace {

constexpr std::int32_t kCursorSide = 32;

// Holds the thread loop's lock for the calls made from the outside.
class Locked {
public:
    explicit Locked(pw_thread_loop* loop) : loop_(loop) { pw_thread_loop_lock(loop_); }
    ~Locked() { pw_thread_loop_unlock(loop_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    pw_thread_loop* loop_;
};

} // namespace

TestScreenCast::TestScreenCast(spa_video_format format, std::int32_t width, std::int32_t height,
                               std::int32_t stride)
    : format_(format), width_(width), height_(height), stride_(stride) {
    loop_.reset(pw_thread_loop_new("test-cast", nullptr));
    context_.reset(pw_context_new(pw_thread_loop_get_loop(loop_.get()), nullptr, 0));
    pw_thread_loop_start(loop_.get());
    const Locked lock(loop_.get());
    core_.reset(pw_context_connect(context_.get(), nullptr, 0));
    if (!core_)
        return; // NodeId() then says there is no node
    stream_.reset(pw_stream_new(core_.get(), "test-cast",
                                pw_properties_new(PW_KEY_MEDIA_CLASS, "Video/Source", nullptr)));
    static const pw_stream_events events = [] {
        pw_stream_events e{};
        e.version = PW_VERSION_STREAM_EVENTS;
        e.state_changed = [](void* data, pw_stream_state, pw_stream_state, const char*) {
            pw_thread_loop_signal(static_cast<TestScreenCast*>(data)->loop_.get(), false);
        };
        e.param_changed = &TestScreenCast::OnParamChanged;
        e.process = &TestScreenCast::OnProcess;
        return e;
    }();
    pw_stream_add_listener(stream_.get(), &listener_, &events, this);
    std::uint8_t buffer[512];
    spa_pod_builder b{};
    spa_pod_builder_init(&b, buffer, sizeof buffer);
    const spa_rectangle size{static_cast<std::uint32_t>(width_),
                             static_cast<std::uint32_t>(height_)};
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
        stream_.get(), PW_DIRECTION_OUTPUT, PW_ID_ANY,
        static_cast<pw_stream_flags>(PW_STREAM_FLAG_DRIVER | PW_STREAM_FLAG_MAP_BUFFERS), &param,
        1);
    for (int i = 0; i < 10 && NodeId() == SPA_ID_INVALID; ++i)
        pw_thread_loop_timed_wait(loop_.get(), 1);
}

TestScreenCast::~TestScreenCast() {
    pw_thread_loop_stop(loop_.get());
}

std::uint32_t TestScreenCast::NodeId() const {
    return stream_ ? pw_stream_get_node_id(stream_.get()) : SPA_ID_INVALID;
}

void TestScreenCast::Send(const TestPicture& picture) {
    if (!stream_)
        return;
    const Locked lock(loop_.get());
    picture_ = picture;
    pw_stream_trigger_process(stream_.get());
}

// Buffers of padded rows in shared memory, with room for the crop region
// and a cursor bitmap.
void TestScreenCast::OnParamChanged(void* data, std::uint32_t id, const spa_pod* param) {
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
                        SPA_POD_Int(cast.stride_ * cast.height_), SPA_PARAM_BUFFERS_stride,
                        SPA_POD_Int(cast.stride_), SPA_PARAM_BUFFERS_dataType,
                        SPA_POD_CHOICE_FLAGS_Int(1 << SPA_DATA_MemFd), 0);
    params[0] = static_cast<const spa_pod*>(spa_pod_builder_pop(&b, &f));
    const std::pair<spa_meta_type, int> metas[] = {
        {SPA_META_VideoCrop, static_cast<int>(sizeof(spa_meta_region))},
        {SPA_META_Cursor, static_cast<int>(sizeof(spa_meta_cursor) + sizeof(spa_meta_bitmap)) +
                              kCursorSide * kCursorSide * 4}};
    for (int i = 0; i < 2; ++i) {
        spa_pod_builder_push_object(&b, &f, SPA_TYPE_OBJECT_ParamMeta, SPA_PARAM_Meta);
        spa_pod_builder_add(&b, SPA_PARAM_META_type, SPA_POD_Id(metas[i].first),
                            SPA_PARAM_META_size, SPA_POD_Int(metas[i].second), 0);
        params[i + 1] = static_cast<const spa_pod*>(spa_pod_builder_pop(&b, &f));
    }
    pw_stream_update_params(cast.stream_.get(), params, 3);
}

void TestScreenCast::OnProcess(void* data) {
    auto& cast = *static_cast<TestScreenCast*>(data);
    pw_buffer* buffer = pw_stream_dequeue_buffer(cast.stream_.get());
    if (buffer == nullptr)
        return;
    cast.Fill(*buffer->buffer);
    pw_stream_queue_buffer(cast.stream_.get(), buffer);
}

void TestScreenCast::Fill(spa_buffer& buffer) const {
    const bool redFirst = format_ == SPA_VIDEO_FORMAT_RGBx || format_ == SPA_VIDEO_FORMAT_RGBA;
    auto* bytes = static_cast<std::uint8_t*>(buffer.datas[0].data);
    // Padding of a colour of its own: a reader ignoring the stride sees it.
    std::memset(bytes, 0xEE, static_cast<std::size_t>(stride_) * height_);
    for (std::int32_t y = 0; y < height_; ++y) {
        std::uint8_t* p = bytes + static_cast<std::ptrdiff_t>(y) * stride_;
        for (std::int32_t x = 0; x < width_; ++x, p += 4) {
            p[redFirst ? 0 : 2] = static_cast<std::uint8_t>(x * 4);
            p[1] = static_cast<std::uint8_t>(y * 5);
            p[redFirst ? 2 : 0] = picture_.tag;
            p[3] = 0xFF;
        }
    }
    spa_chunk& chunk = *buffer.datas[0].chunk;
    chunk.offset = 0;
    chunk.stride = stride_;
    chunk.size = picture_.empty ? 0 : static_cast<std::uint32_t>(stride_ * height_);
    chunk.flags = picture_.corrupted ? SPA_CHUNK_FLAG_CORRUPTED : SPA_CHUNK_FLAG_NONE;
    if (auto* crop = static_cast<spa_meta_region*>(
            spa_buffer_find_meta_data(&buffer, SPA_META_VideoCrop, sizeof(spa_meta_region))))
        crop->region = picture_.crop;
    if (auto* cursor = static_cast<spa_meta_cursor*>(
            spa_buffer_find_meta_data(&buffer, SPA_META_Cursor, sizeof(spa_meta_cursor)))) {
        *cursor = {};
        if (picture_.cursor) {
            cursor->id = 1;
            cursor->position = {picture_.cursor->x, picture_.cursor->y};
        }
    }
}

} // namespace huegrab::wayland
