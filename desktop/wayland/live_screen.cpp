// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/live_screen.h"

#include "desktop/wayland/pipewire_frames.h"
#include "desktop/wayland/screencast_portal.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace huegrab::wayland {
namespace {

using namespace std::chrono_literals;

// Each step of starting the cast waits this long: the first start shows
// the desktop's share dialog, which waits for the user.
constexpr auto kShareTimeout = 120s;

} // namespace

struct LiveScreen::Cast {
    ScreenCast session;
    ScreenCastStream stream;
    std::unique_ptr<PipeWireFrames> frames;
};

// What the starting thread hands over.
struct LiveScreen::Pending {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::unique_ptr<Cast> cast;
    std::string whyNot;
};

namespace {

void StartCast(const std::string& token, std::unique_ptr<LiveScreen::Cast>& cast,
               std::string& whyNot) {
    auto portal = ScreenCastPortal::Open(whyNot);
    if (!portal)
        return;
    auto session = portal->Start(token, kShareTimeout, whyNot);
    if (!session)
        return;
    if (session->Streams().empty()) {
        whyNot = "the screen cast came without a stream";
        return;
    }
    const ScreenCastStream stream = session->Streams().front();
    auto frames = PipeWireFrames::Connect(session->ReleasePipeWireFd(), stream.nodeId, whyNot);
    if (!frames)
        return;
    cast = std::make_unique<LiveScreen::Cast>(
        LiveScreen::Cast{std::move(*session), stream, std::move(frames)});
}

} // namespace

LiveScreen::LiveScreen(ScreenShareConsent consent) : consent_(std::move(consent)) {}

// A start still waiting for the user finishes on its own thread, which
// then closes what it opened.
LiveScreen::~LiveScreen() = default;

void LiveScreen::Start() {
    if (pending_ || cast_ || failure_)
        return;
    pending_ = std::make_shared<Pending>();
    std::string token = consent_.load ? consent_.load() : std::string();
    std::thread([pending = pending_, token = std::move(token)] {
        std::unique_ptr<Cast> cast;
        std::string whyNot;
        StartCast(token, cast, whyNot);
        const std::lock_guard lock(pending->mutex);
        pending->cast = std::move(cast);
        pending->whyNot = std::move(whyNot);
        pending->done = true;
        pending->finished.notify_all();
    }).detach();
}

bool LiveScreen::Ready() {
    if (pending_) {
        std::unique_lock lock(pending_->mutex);
        if (!pending_->done)
            return false;
        cast_ = std::move(pending_->cast);
        if (!cast_)
            failure_ = "the screen cast did not start: " + pending_->whyNot;
        lock.unlock();
        pending_.reset();
        // Each token is good for one start: the new one replaces it, and
        // a cast that gave none leaves none behind.
        if (cast_ && consent_.store)
            consent_.store(cast_->session.RestoreToken());
    }
    if (cast_ && cast_->frames->Broken()) {
        failure_ = "the screen cast has ended";
        cast_.reset();
    }
    return cast_ && cast_->frames->FrameSize().has_value();
}

bool LiveScreen::WaitUntilReady(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    Start();
    if (pending_) {
        std::unique_lock lock(pending_->mutex);
        if (!pending_->finished.wait_until(lock, deadline, [this] { return pending_->done; }))
            return false;
    }
    if (Ready())
        return true;
    if (!cast_)
        return false;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return cast_->frames->WaitForFirstFrame(std::max(left, std::chrono::milliseconds(0))) &&
           Ready();
}

std::optional<std::string> LiveScreen::Failure() {
    Ready();
    return failure_;
}

bool LiveScreen::ShowsPointer() {
    return Ready() && cast_->session.CursorMetadata();
}

namespace {

// The cell of a grid of `to` cells that holds the centre of cell `index` of
// a grid of `from` cells over the same length: a scaled monitor's frame
// pixel for a desktop point, and back. Whole cells map exactly.
std::int64_t CentreTo(std::int64_t index, std::int64_t to, std::int64_t from) {
    if (from <= 0)
        return index;
    const std::int64_t scaled = (2 * index + 1) * to;
    // Rounded down, also below zero.
    return scaled >= 0 ? scaled / (2 * from) : -((-scaled + 2 * from - 1) / (2 * from));
}

CastMapping MappingOf(const ScreenCastStream& stream, StreamSize frame) {
    CastMapping mapping{stream.area, frame.width, frame.height};
    if (!stream.positionKnown)
        mapping.area.x = mapping.area.y = 0;
    if (!stream.sizeKnown || mapping.area.width <= 0 || mapping.area.height <= 0) {
        mapping.area.width = frame.width;
        mapping.area.height = frame.height;
    }
    return mapping;
}

} // namespace

std::optional<ScreenPoint> LiveScreen::Pointer() {
    if (!Ready())
        return std::nullopt;
    const std::optional<ScreenPoint> pointer = cast_->frames->Pointer();
    if (!pointer)
        return std::nullopt;
    return MappingOf(cast_->stream, *cast_->frames->FrameSize()).ToDesktop(*pointer);
}

std::optional<PixelBlock> LiveScreen::ReadBlock(std::int32_t left, std::int32_t top,
                                                std::int32_t width, std::int32_t height) {
    if (!Ready())
        return std::nullopt;
    const CastMapping mapping = MappingOf(cast_->stream, *cast_->frames->FrameSize());
    const std::int64_t frameLeft = std::int64_t{left} - mapping.area.x;
    const std::int64_t frameTop = std::int64_t{top} - mapping.area.y;
    const bool unscaled =
        mapping.frameWidth == mapping.area.width && mapping.frameHeight == mapping.area.height;
    if (unscaled && frameLeft == static_cast<std::int32_t>(frameLeft) &&
        frameTop == static_cast<std::int32_t>(frameTop)) {
        std::optional<PixelBlock> block =
            cast_->frames->ReadBlock(static_cast<std::int32_t>(frameLeft),
                                     static_cast<std::int32_t>(frameTop), width, height);
        if (block) {
            block->left = left;
            block->top = top;
        }
        return block;
    }
    // A scaled monitor: each desktop point shows the frame pixel at its
    // top-left, all read from the one block of the frame that the desktop
    // block covers.
    const auto frameEdge = [](std::int64_t offset, std::int64_t frame, std::int64_t area) {
        return std::clamp<std::int64_t>(CentreTo(offset, frame, area), 0, frame - 1);
    };
    const std::int64_t x0 = frameEdge(frameLeft, mapping.frameWidth, mapping.area.width);
    const std::int64_t y0 = frameEdge(frameTop, mapping.frameHeight, mapping.area.height);
    const std::int64_t x1 =
        frameEdge(frameLeft + width - 1, mapping.frameWidth, mapping.area.width);
    const std::int64_t y1 =
        frameEdge(frameTop + height - 1, mapping.frameHeight, mapping.area.height);
    const std::optional<PixelBlock> frame = cast_->frames->ReadBlock(
        static_cast<std::int32_t>(x0), static_cast<std::int32_t>(y0),
        static_cast<std::int32_t>(x1 - x0 + 1), static_cast<std::int32_t>(y1 - y0 + 1));
    if (!frame)
        return std::nullopt;
    PixelBlock block{left, top, width, height, {}};
    block.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::int64_t y = top; y < std::int64_t{top} + height; ++y) {
        for (std::int64_t x = left; x < std::int64_t{left} + width; ++x) {
            const bool representable =
                x == static_cast<std::int32_t>(x) && y == static_cast<std::int32_t>(y);
            const std::optional<ScreenPoint> pixel =
                representable
                    ? mapping.ToFrame(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y))
                    : std::nullopt;
            block.pixels.push_back(pixel ? frame->At(pixel->x, pixel->y) : kInvalidColor);
        }
    }
    return block;
}

std::optional<ScreenPoint> CastMapping::ToFrame(std::int32_t x, std::int32_t y) const {
    const std::int64_t dx = std::int64_t{x} - area.x;
    const std::int64_t dy = std::int64_t{y} - area.y;
    if (dx < 0 || dy < 0 || dx >= area.width || dy >= area.height)
        return std::nullopt;
    return ScreenPoint{static_cast<std::int32_t>(CentreTo(dx, frameWidth, area.width)),
                       static_cast<std::int32_t>(CentreTo(dy, frameHeight, area.height))};
}

ScreenPoint CastMapping::ToDesktop(ScreenPoint framePixel) const {
    return ScreenPoint{
        static_cast<std::int32_t>(area.x + CentreTo(framePixel.x, area.width, frameWidth)),
        static_cast<std::int32_t>(area.y + CentreTo(framePixel.y, area.height, frameHeight))};
}

} // namespace huegrab::wayland
