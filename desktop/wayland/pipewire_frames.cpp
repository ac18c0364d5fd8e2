// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/pipewire_frames.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <pipewire/pipewire.h>
#include <spa/buffer/meta.h>
#include <spa/param/video/format-utils.h>
#include <spa/pod/builder.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace huegrab::wayland {
namespace {

// The largest cursor bitmap asked for. GNOME sends no cursor metadata at all
// unless the buffers have room for its bitmap, up to 384 x 384 when scaled.
constexpr std::int32_t kMaxCursorSide = 384;
constexpr std::int32_t kBytesPerPixel = 4;
constexpr auto kRoundTripTimeout = std::chrono::seconds(5);

constexpr std::int32_t CursorMetaSize(std::int32_t side) {
    return static_cast<std::int32_t>(sizeof(spa_meta_cursor) + sizeof(spa_meta_bitmap)) +
           side * side * kBytesPerPixel;
}

void InitPipeWireOnce() {
    static std::once_flag once;
    std::call_once(once, [] { pw_init(nullptr, nullptr); });
}

struct ThreadLoopDestroy {
    void operator()(pw_thread_loop* loop) const { pw_thread_loop_destroy(loop); }
};
struct ContextDestroy {
    void operator()(pw_context* context) const { pw_context_destroy(context); }
};
struct CoreDisconnect {
    void operator()(pw_core* core) const { pw_core_disconnect(core); }
};
struct StreamDestroy {
    void operator()(pw_stream* stream) const { pw_stream_destroy(stream); }
};

// Holds the thread loop's lock: PipeWire objects are touched only under it
// while the loop runs.
class LoopLock {
public:
    explicit LoopLock(pw_thread_loop* loop) : loop_(loop) { pw_thread_loop_lock(loop_); }
    ~LoopLock() { pw_thread_loop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    pw_thread_loop* loop_;
};

// An fd owned until it is handed on.
class OwnedFd {
public:
    explicit OwnedFd(int fd) : fd_(fd) {}
    ~OwnedFd() {
        if (fd_ >= 0)
            close(fd_);
    }
    OwnedFd(const OwnedFd&) = delete;
    OwnedFd& operator=(const OwnedFd&) = delete;
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// The formats a screen cast offers in shared memory, all four bytes a pixel.
bool IsKnownFormat(spa_video_format format) {
    return format == SPA_VIDEO_FORMAT_BGRx || format == SPA_VIDEO_FORMAT_BGRA ||
           format == SPA_VIDEO_FORMAT_RGBx || format == SPA_VIDEO_FORMAT_RGBA;
}

// Raw video in the four formats, any size and rate, but at most ten frames
// a second: the program reads the screen ten times a second, and a desktop
// that honours the limit (GNOME does) sends no frames nobody reads while a
// video plays.
const spa_pod* BuildFormats(spa_pod_builder& builder) {
    const spa_rectangle defaultSize{1280, 720};
    const spa_rectangle minSize{1, 1};
    const spa_rectangle maxSize{16384, 16384};
    const spa_fraction defaultRate{0, 1};
    const spa_fraction minRate{0, 1};
    const spa_fraction maxRate{1000, 1};
    const spa_fraction readRate{10, 1};
    const spa_fraction slowestRate{1, 1};
    spa_pod_frame frame;
    spa_pod_builder_push_object(&builder, &frame, SPA_TYPE_OBJECT_Format, SPA_PARAM_EnumFormat);
    spa_pod_builder_add(
        &builder, SPA_FORMAT_mediaType, SPA_POD_Id(SPA_MEDIA_TYPE_video), SPA_FORMAT_mediaSubtype,
        SPA_POD_Id(SPA_MEDIA_SUBTYPE_raw), SPA_FORMAT_VIDEO_format,
        SPA_POD_CHOICE_ENUM_Id(5, SPA_VIDEO_FORMAT_BGRx, SPA_VIDEO_FORMAT_BGRx,
                               SPA_VIDEO_FORMAT_BGRA, SPA_VIDEO_FORMAT_RGBx, SPA_VIDEO_FORMAT_RGBA),
        SPA_FORMAT_VIDEO_size, SPA_POD_CHOICE_RANGE_Rectangle(&defaultSize, &minSize, &maxSize),
        SPA_FORMAT_VIDEO_framerate, SPA_POD_CHOICE_RANGE_Fraction(&defaultRate, &minRate, &maxRate),
        SPA_FORMAT_VIDEO_maxFramerate,
        SPA_POD_CHOICE_RANGE_Fraction(&readRate, &slowestRate, &readRate), 0);
    return static_cast<const spa_pod*>(spa_pod_builder_pop(&builder, &frame));
}

// Shared-memory buffers only (never DMA-BUF, which would need a GPU to read),
// with room for the crop region and the cursor.
std::vector<const spa_pod*> BuildBufferParams(spa_pod_builder& builder) {
    std::vector<const spa_pod*> params;
    spa_pod_frame frame;
    spa_pod_builder_push_object(&builder, &frame, SPA_TYPE_OBJECT_ParamBuffers, SPA_PARAM_Buffers);
    spa_pod_builder_add(&builder, SPA_PARAM_BUFFERS_dataType,
                        SPA_POD_CHOICE_FLAGS_Int((1 << SPA_DATA_MemPtr) | (1 << SPA_DATA_MemFd)),
                        0);
    params.push_back(static_cast<const spa_pod*>(spa_pod_builder_pop(&builder, &frame)));

    spa_pod_builder_push_object(&builder, &frame, SPA_TYPE_OBJECT_ParamMeta, SPA_PARAM_Meta);
    spa_pod_builder_add(&builder, SPA_PARAM_META_type, SPA_POD_Id(SPA_META_VideoCrop),
                        SPA_PARAM_META_size, SPA_POD_Int(sizeof(spa_meta_region)), 0);
    params.push_back(static_cast<const spa_pod*>(spa_pod_builder_pop(&builder, &frame)));

    spa_pod_builder_push_object(&builder, &frame, SPA_TYPE_OBJECT_ParamMeta, SPA_PARAM_Meta);
    spa_pod_builder_add(&builder, SPA_PARAM_META_type, SPA_POD_Id(SPA_META_Cursor),
                        SPA_PARAM_META_size,
                        SPA_POD_CHOICE_RANGE_Int(CursorMetaSize(64), CursorMetaSize(1),
                                                 CursorMetaSize(kMaxCursorSide)),
                        0);
    params.push_back(static_cast<const spa_pod*>(spa_pod_builder_pop(&builder, &frame)));
    return params;
}

// A frame as kept: rows of four bytes a pixel, no padding.
struct Frame {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool redFirst = false; // RGBx/RGBA; otherwise BGRx/BGRA
    std::vector<std::uint8_t> bytes;
};

ColorValue PixelValue(const Frame& frame, std::int64_t x, std::int64_t y) {
    const std::uint8_t* p =
        frame.bytes.data() + (y * frame.width + x) * static_cast<std::int64_t>(kBytesPerPixel);
    const std::uint32_t red = frame.redFirst ? p[0] : p[2];
    const std::uint32_t blue = frame.redFirst ? p[2] : p[0];
    return static_cast<ColorValue>(red | (std::uint32_t{p[1]} << 8) | (blue << 16));
}

} // namespace

struct PipeWireFrames::State {
    // Declared in the order of their making: destroyed in reverse.
    std::unique_ptr<pw_thread_loop, ThreadLoopDestroy> loop;
    std::unique_ptr<pw_context, ContextDestroy> context;
    std::unique_ptr<pw_core, CoreDisconnect> core;
    std::unique_ptr<pw_stream, StreamDestroy> stream;
    spa_hook coreListener{};
    spa_hook streamListener{};

    // Loop thread only.
    spa_video_info_raw format{};
    Frame spare;
    int syncSeq = -1;
    bool synced = false;
    std::string coreError;

    mutable std::mutex mutex;
    std::condition_variable frameArrived;
    Frame frame;                        // under mutex
    std::optional<ScreenPoint> pointer; // under mutex
    std::atomic<bool> broken{false};

    ~State() {
        // The loop thread stops before the objects it serves go, and the
        // listeners go before the stream and core whose last events would
        // otherwise reach members already destroyed.
        if (loop)
            pw_thread_loop_stop(loop.get());
        spa_hook_remove(&streamListener);
        stream.reset();
        spa_hook_remove(&coreListener);
        core.reset();
    }

    void MarkBroken() {
        {
            const std::lock_guard lock(mutex);
            broken = true;
        }
        frameArrived.notify_all();
        pw_thread_loop_signal(loop.get(), false);
    }

    static void OnCoreDone(void* data, std::uint32_t id, int seq) {
        auto& state = *static_cast<State*>(data);
        if (id == PW_ID_CORE && seq == state.syncSeq) {
            state.synced = true;
            pw_thread_loop_signal(state.loop.get(), false);
        }
    }

    static void OnCoreError(void* data, std::uint32_t id, int /*seq*/, int res,
                            const char* message) {
        auto& state = *static_cast<State*>(data);
        // Errors of other objects (a refused link) reach the stream's state;
        // of the core's own, only a lost connection ends the stream, and
        // any error before the first round trip.
        if (id != PW_ID_CORE || (res != -EPIPE && state.synced))
            return;
        state.coreError = message ? message : std::strerror(-res);
        state.MarkBroken();
    }

    static void OnStateChanged(void* data, pw_stream_state /*old*/, pw_stream_state now,
                               const char* /*error*/) {
        if (now == PW_STREAM_STATE_ERROR || now == PW_STREAM_STATE_UNCONNECTED)
            static_cast<State*>(data)->MarkBroken();
    }

    static void OnParamChanged(void* data, std::uint32_t id, const spa_pod* param) {
        auto& state = *static_cast<State*>(data);
        if (id != SPA_PARAM_Format || param == nullptr)
            return;
        std::uint32_t mediaType = 0;
        std::uint32_t mediaSubtype = 0;
        spa_video_info_raw info{};
        if (spa_format_parse(param, &mediaType, &mediaSubtype) < 0 ||
            mediaType != SPA_MEDIA_TYPE_video || mediaSubtype != SPA_MEDIA_SUBTYPE_raw ||
            spa_format_video_raw_parse(param, &info) < 0 || !IsKnownFormat(info.format)) {
            state.format = {};
            return;
        }
        state.format = info;
        std::uint8_t buffer[1024];
        spa_pod_builder builder{};
        spa_pod_builder_init(&builder, buffer, sizeof buffer);
        std::vector<const spa_pod*> params = BuildBufferParams(builder);
        pw_stream_update_params(state.stream.get(), params.data(),
                                static_cast<std::uint32_t>(params.size()));
    }

    // Takes every queued buffer: the cursor from each, the picture only from
    // the newest that has one.
    static void OnProcess(void* data) {
        auto& state = *static_cast<State*>(data);
        pw_stream* stream = state.stream.get();
        pw_buffer* newest = nullptr;
        while (pw_buffer* buffer = pw_stream_dequeue_buffer(stream)) {
            state.TakeCursor(*buffer->buffer);
            if (!HasPicture(*buffer->buffer)) {
                pw_stream_queue_buffer(stream, buffer);
                continue;
            }
            if (newest)
                pw_stream_queue_buffer(stream, newest);
            newest = buffer;
        }
        if (newest) {
            state.TakeFrame(*newest->buffer);
            pw_stream_queue_buffer(stream, newest);
        }
    }

    // Cursor-only updates come as buffers with an empty chunk.
    static bool HasPicture(const spa_buffer& buffer) {
        if (buffer.n_datas < 1 || buffer.datas[0].data == nullptr)
            return false;
        const spa_chunk* chunk = buffer.datas[0].chunk;
        return chunk->size > 0 && (chunk->flags & SPA_CHUNK_FLAG_CORRUPTED) == 0;
    }

    void TakeCursor(const spa_buffer& buffer) {
        const auto* cursor = static_cast<const spa_meta_cursor*>(
            spa_buffer_find_meta_data(&buffer, SPA_META_Cursor, sizeof(spa_meta_cursor)));
        // Id 0: nothing new about the cursor in this buffer.
        if (cursor == nullptr || cursor->id == 0)
            return;
        const std::lock_guard lock(mutex);
        pointer = ScreenPoint{cursor->position.x, cursor->position.y};
    }

    void TakeFrame(const spa_buffer& buffer) {
        if (!IsKnownFormat(format.format))
            return;
        const std::int64_t fullWidth = format.size.width;
        const std::int64_t fullHeight = format.size.height;
        std::int64_t left = 0;
        std::int64_t top = 0;
        std::int64_t width = fullWidth;
        std::int64_t height = fullHeight;
        const auto* crop = static_cast<const spa_meta_region*>(
            spa_buffer_find_meta_data(&buffer, SPA_META_VideoCrop, sizeof(spa_meta_region)));
        if (crop != nullptr && spa_meta_region_is_valid(crop)) {
            // Clipped to the frame: a wrong region must not read past it.
            left = std::clamp<std::int64_t>(crop->region.position.x, 0, fullWidth);
            top = std::clamp<std::int64_t>(crop->region.position.y, 0, fullHeight);
            width = std::min<std::int64_t>(crop->region.size.width, fullWidth - left);
            height = std::min<std::int64_t>(crop->region.size.height, fullHeight - top);
        }
        if (width <= 0 || height <= 0)
            return;
        const spa_data& plane = buffer.datas[0];
        const std::int64_t rowBytes = width * kBytesPerPixel;
        const std::int64_t stride =
            plane.chunk->stride > 0 ? plane.chunk->stride : fullWidth * kBytesPerPixel;
        const std::int64_t first =
            std::int64_t{plane.chunk->offset} + top * stride + left * kBytesPerPixel;
        if (stride < (left + width) * kBytesPerPixel ||
            first + (height - 1) * stride + rowBytes > std::int64_t{plane.maxsize})
            return;

        // The copy is made outside the lock; readers wait only for the swap.
        spare.width = static_cast<std::int32_t>(width);
        spare.height = static_cast<std::int32_t>(height);
        spare.redFirst =
            format.format == SPA_VIDEO_FORMAT_RGBx || format.format == SPA_VIDEO_FORMAT_RGBA;
        spare.bytes.resize(static_cast<std::size_t>(rowBytes * height));
        const auto* source = static_cast<const std::uint8_t*>(plane.data) + first;
        for (std::int64_t row = 0; row < height; ++row)
            std::memcpy(spare.bytes.data() + row * rowBytes, source + row * stride,
                        static_cast<std::size_t>(rowBytes));
        {
            const std::lock_guard lock(mutex);
            std::swap(frame, spare);
        }
        frameArrived.notify_all();
    }
};

PipeWireFrames::PipeWireFrames(std::unique_ptr<State> state) : state_(std::move(state)) {}

PipeWireFrames::~PipeWireFrames() = default;

std::unique_ptr<PipeWireFrames> PipeWireFrames::Connect(int remoteFd, std::uint32_t nodeId,
                                                        std::string& whyNot) {
    OwnedFd fd(remoteFd);
    InitPipeWireOnce();
    auto state = std::make_unique<State>();
    state->loop.reset(pw_thread_loop_new("huegrab-frames", nullptr));
    if (!state->loop) {
        whyNot = "cannot make a PipeWire thread loop";
        return nullptr;
    }
    state->context.reset(pw_context_new(pw_thread_loop_get_loop(state->loop.get()), nullptr, 0));
    if (!state->context) {
        whyNot = "cannot make a PipeWire context";
        return nullptr;
    }
    if (pw_thread_loop_start(state->loop.get()) < 0) {
        whyNot = "cannot start the PipeWire thread";
        return nullptr;
    }

    static const pw_core_events coreEvents = [] {
        pw_core_events events{};
        events.version = PW_VERSION_CORE_EVENTS;
        events.done = &State::OnCoreDone;
        events.error = &State::OnCoreError;
        return events;
    }();
    static const pw_stream_events streamEvents = [] {
        pw_stream_events events{};
        events.version = PW_VERSION_STREAM_EVENTS;
        events.state_changed = &State::OnStateChanged;
        events.param_changed = &State::OnParamChanged;
        events.process = &State::OnProcess;
        return events;
    }();

    const LoopLock lock(state->loop.get());
    // PipeWire owns the fd from here, and closes it also when it fails.
    const bool ownRemote = remoteFd >= 0;
    state->core.reset(ownRemote
                          ? pw_context_connect_fd(state->context.get(), fd.Release(), nullptr, 0)
                          : pw_context_connect(state->context.get(), nullptr, 0));
    if (!state->core) {
        whyNot = std::string("cannot connect to PipeWire (") + std::strerror(errno) + ")";
        return nullptr;
    }
    pw_core_add_listener(state->core.get(), &state->coreListener, &coreEvents, state.get());
    // One round trip: a remote that is not PipeWire, or gone, fails here
    // rather than as a stream that never starts.
    state->syncSeq = pw_core_sync(state->core.get(), PW_ID_CORE, 0);
    timespec deadline{};
    pw_thread_loop_get_time(
        state->loop.get(), &deadline,
        std::chrono::duration_cast<std::chrono::nanoseconds>(kRoundTripTimeout).count());
    while (!state->synced && !state->broken) {
        if (pw_thread_loop_timed_wait_full(state->loop.get(), &deadline) != 0)
            break;
    }
    if (!state->synced) {
        whyNot = state->broken ? "PipeWire refused the connection (" + state->coreError + ")"
                               : std::string("PipeWire did not answer");
        return nullptr;
    }

    pw_properties* properties = pw_properties_new(PW_KEY_MEDIA_TYPE, "Video", PW_KEY_MEDIA_CATEGORY,
                                                  "Capture", PW_KEY_MEDIA_ROLE, "Screen", nullptr);
    state->stream.reset(pw_stream_new(state->core.get(), "huegrab", properties));
    if (!state->stream) {
        whyNot = std::string("cannot make a PipeWire stream (") + std::strerror(errno) + ")";
        return nullptr;
    }
    pw_stream_add_listener(state->stream.get(), &state->streamListener, &streamEvents, state.get());
    std::uint8_t buffer[1024];
    spa_pod_builder builder{};
    spa_pod_builder_init(&builder, buffer, sizeof buffer);
    const spa_pod* formats = BuildFormats(builder);
    // No reconnecting: when the screen cast ends, another video source (a
    // camera) must not take its place.
    const auto flags = static_cast<pw_stream_flags>(
        PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS | PW_STREAM_FLAG_DONT_RECONNECT);
    if (const int res =
            pw_stream_connect(state->stream.get(), PW_DIRECTION_INPUT, nodeId, flags, &formats, 1);
        res < 0) {
        whyNot = std::string("cannot connect to PipeWire node ") + std::to_string(nodeId) + " (" +
                 std::strerror(-res) + ")";
        return nullptr;
    }
    return std::make_unique<PipeWireFrames>(std::move(state));
}

std::optional<PixelBlock> PipeWireFrames::ReadBlock(std::int32_t left, std::int32_t top,
                                                    std::int32_t width, std::int32_t height) const {
    const std::lock_guard lock(state_->mutex);
    const Frame& frame = state_->frame;
    if (frame.bytes.empty())
        return std::nullopt;
    PixelBlock block = PixelBlock::OffScreen(left, top, width, height);
    for (std::int32_t row = 0; row < block.height; ++row) {
        const std::int64_t y = std::int64_t{top} + row;
        if (y < 0 || y >= frame.height)
            continue;
        ColorValue* out = block.pixels.data() + static_cast<std::size_t>(row) * block.width;
        for (std::int32_t column = 0; column < block.width; ++column) {
            const std::int64_t x = std::int64_t{left} + column;
            if (x >= 0 && x < frame.width)
                out[column] = PixelValue(frame, x, y);
        }
    }
    return block;
}

std::optional<StreamSize> PipeWireFrames::FrameSize() const {
    const std::lock_guard lock(state_->mutex);
    if (state_->frame.bytes.empty())
        return std::nullopt;
    return StreamSize{state_->frame.width, state_->frame.height};
}

std::optional<ScreenPoint> PipeWireFrames::Pointer() const {
    const std::lock_guard lock(state_->mutex);
    return state_->pointer;
}

bool PipeWireFrames::WaitForFirstFrame(std::chrono::milliseconds timeout) {
    std::unique_lock lock(state_->mutex);
    state_->frameArrived.wait_for(
        lock, timeout, [this] { return !state_->frame.bytes.empty() || state_->broken; });
    return !state_->frame.bytes.empty();
}

bool PipeWireFrames::Broken() const {
    return state_->broken;
}

} // namespace huegrab::wayland
