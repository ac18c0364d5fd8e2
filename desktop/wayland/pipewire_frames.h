// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/screen_geometry.h"
#include "desktop/screen_pixels.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace huegrab::wayland {

// The width and height of a video frame in stream pixels.
struct StreamSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const StreamSize&, const StreamSize&) = default;
};

// Consumes one PipeWire video node (a screen cast) on a thread of its own
// and keeps the newest frame and pointer position for the UI thread to read.
// A screen cast sends frames only when the screen changes, so the last one
// stays valid until the next arrives.
class PipeWireFrames {
public:
    // Connects to the PipeWire remote `remoteFd` (owned from here on; -1:
    // the session's own daemon) and streams node `nodeId` from it. nullptr,
    // with a line for a person in `whyNot`, when the remote cannot be
    // reached or refuses the stream.
    static std::unique_ptr<PipeWireFrames> Connect(int remoteFd, std::uint32_t nodeId,
                                                   std::string& whyNot);
    ~PipeWireFrames();
    PipeWireFrames(const PipeWireFrames&) = delete;
    PipeWireFrames& operator=(const PipeWireFrames&) = delete;

    // A block of the newest frame in stream coordinates, 0x00BBGGRR, the
    // parts off the frame kInvalidColor; nullopt before the first frame.
    std::optional<PixelBlock> ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                                        std::int32_t height) const;
    // The newest frame's size; nullopt before the first frame.
    std::optional<StreamSize> FrameSize() const;
    // The pointer's point in stream coordinates, from the newest buffer that
    // carried cursor metadata; nullopt while none has.
    std::optional<ScreenPoint> Pointer() const;
    // Waits until the first frame is there; false after `timeout` or once
    // the stream is broken.
    bool WaitForFirstFrame(std::chrono::milliseconds timeout);
    // The stream has failed or was disconnected: no frame will come again.
    bool Broken() const;

    // What the stream's thread shares with the readers; only Connect makes
    // one.
    struct State;
    explicit PipeWireFrames(std::unique_ptr<State> state);

private:
    std::unique_ptr<State> state_;
};

} // namespace huegrab::wayland
