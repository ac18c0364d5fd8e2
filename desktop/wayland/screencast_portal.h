// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/screen_geometry.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// GLib's connection type, named without its headers: they clash with Qt's
// keywords in the files that include this one.
typedef struct _GDBusConnection GDBusConnection;

namespace huegrab::wayland {

// One picture a cast sends: a PipeWire node, and where it lies on the desktop.
struct ScreenCastStream {
    std::uint32_t nodeId = 0;
    // Position and size in logical desktop coordinates, as the portal
    // reports them; each only where it reports it (position: monitors only).
    ScreenRect area;
    bool positionKnown = false;
    bool sizeKnown = false;
};

// A running screen cast: the portal session, closed when this goes, and
// what the streams are read with.
class ScreenCast {
public:
    ScreenCast(ScreenCast&& other) noexcept;
    ScreenCast& operator=(ScreenCast&& other) noexcept;
    ScreenCast(const ScreenCast&) = delete;
    ScreenCast& operator=(const ScreenCast&) = delete;
    ~ScreenCast();

    // The PipeWire remote the streams are read from, handed over: the
    // caller closes it (PipeWire does, once it is given to it). -1 when it
    // was already taken.
    int ReleasePipeWireFd();

    const std::vector<ScreenCastStream>& Streams() const { return streams_; }
    // The token that starts the next cast without the chooser; empty when
    // the portal gave none. It is good for one start only: keep this one in
    // place of the one the cast was started with.
    const std::string& RestoreToken() const { return restoreToken_; }
    // The pointer comes with the frames as metadata (asked for, since the
    // portal offers it, and accepted).
    bool CursorMetadata() const { return cursorMetadata_; }
    // How long the portal says it keeps the consent (0 not at all, 1 while
    // the program runs, 2 until revoked); nullopt when it does not say, as
    // GNOME 43 does not (its token is the sign that it keeps it).
    std::optional<std::uint32_t> PersistMode() const { return persistMode_; }

private:
    friend class ScreenCastPortal;
    ScreenCast(std::shared_ptr<GDBusConnection> bus, std::string sessionPath);
    void Close() noexcept;

    std::shared_ptr<GDBusConnection> bus_;
    std::string sessionPath_;
    int pipeWireFd_ = -1;
    std::vector<ScreenCastStream> streams_;
    std::string restoreToken_;
    bool cursorMetadata_ = false;
    std::optional<std::uint32_t> persistMode_;
};

// The desktop portal's ScreenCast interface on the session bus: a lasting
// stream of the screen, granted once by the user in the desktop's chooser,
// and from then on by the restore token the portal hands back.
class ScreenCastPortal {
public:
    // nullopt, with a line for a person in `whyNot`, when there is no session
    // bus, no screencast portal on it, or one that casts no monitors.
    static std::optional<ScreenCastPortal> Open(std::string& whyNot);

    // The portal can send the pointer's position and shape beside the
    // frames instead of painting it into them.
    bool OffersCursorMetadata() const;

    // Casts one whole monitor, the pointer as metadata where offered and
    // otherwise left out of the picture. With a `restoreToken` from an
    // earlier cast, the portal may skip the chooser. Each step with the
    // portal waits at most `timeout` (the chooser waits for the user).
    std::optional<ScreenCast> Start(const std::string& restoreToken,
                                    std::chrono::milliseconds timeout, std::string& whyNot);

private:
    ScreenCastPortal(std::shared_ptr<GDBusConnection> bus, std::uint32_t version,
                     std::uint32_t cursorModes)
        : bus_(std::move(bus)), version_(version), cursorModes_(cursorModes) {}

    std::shared_ptr<GDBusConnection> bus_;
    std::uint32_t version_;
    std::uint32_t cursorModes_;
};

} // namespace huegrab::wayland
