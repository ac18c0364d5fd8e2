// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/screen_pixels.h"
#include "desktop/screen_share_consent.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace huegrab::wayland {

// The screen as a screen cast shows it, live: the frames and the pointer
// arrive on PipeWire's thread and readers see the newest. The cast starts
// on a thread of its own, since the desktop's share dialog may wait for the
// user; readers meanwhile get nothing, never a stale or made-up answer.
class LiveScreen {
public:
    explicit LiveScreen(ScreenShareConsent consent);
    ~LiveScreen();
    LiveScreen(const LiveScreen&) = delete;
    LiveScreen& operator=(const LiveScreen&) = delete;

    // Asks for the cast the first time; later calls do nothing. Returns at once.
    void Start();
    // Whether frames can be read: collects the cast once it has started,
    // without waiting. Starts nothing.
    bool Ready();
    // Starts the cast if needed and waits for it and its first frame (a
    // person may be answering the share dialog). False after the timeout
    // or once the cast has failed.
    bool WaitUntilReady(std::chrono::milliseconds timeout);
    // Why the cast failed or ended, for a person; nullopt while it may yet
    // work.
    std::optional<std::string> Failure();
    // The cast carries the pointer's position.
    bool ShowsPointer();

    // The pointer in desktop coordinates; nullopt until the cast is ready
    // and has shown it, or while it is off the cast monitor.
    std::optional<ScreenPoint> Pointer();
    // A block of desktop pixels from the newest frame, the parts off the
    // cast monitor kInvalidColor; nullopt until the cast is ready.
    std::optional<PixelBlock> ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                                        std::int32_t height);

    struct Cast;
    struct Pending;

private:
    ScreenShareConsent consent_;
    std::shared_ptr<Pending> pending_; // shared with the starting thread
    std::unique_ptr<Cast> cast_;
    std::optional<std::string> failure_;
};

// Where a monitor of `area` (desktop coordinates) shows in a frame of
// `frameWidth` x `frameHeight` pixels: a desktop point and its frame pixel,
// both ways. A scaled monitor has more frame pixels than desktop points.
struct CastMapping {
    ScreenRect area;
    std::int32_t frameWidth = 0;
    std::int32_t frameHeight = 0;

    // The frame pixel that shows desktop point (x, y); nullopt off the monitor.
    std::optional<ScreenPoint> ToFrame(std::int32_t x, std::int32_t y) const;
    // The desktop point a frame pixel shows.
    ScreenPoint ToDesktop(ScreenPoint framePixel) const;
};

} // namespace huegrab::wayland
