// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a screen cast through the desktop portal, as the Wayland desktop
// will, and prints what the portal granted, one line:
//
//   node=47 area=0,0,1280x720 cursor=metadata persist=- ms=812 token=6f0b…
//
// screencast_start [RESTORE-TOKEN [TIMEOUT-S]]. Status 1, with the reason on stderr,
// when the portal refuses. The session test drives the chooser meanwhile.
#include "desktop/wayland/screencast_portal.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    using namespace std::chrono;
    const std::string token = argc > 1 ? argv[1] : "";
    std::string whyNot;
    auto portal = huegrab::wayland::ScreenCastPortal::Open(whyNot);
    if (!portal) {
        std::fprintf(stderr, "screencast_start: %s\n", whyNot.c_str());
        return 1;
    }
    const auto began = steady_clock::now();
    const seconds timeout(argc > 2 ? std::atoi(argv[2]) : 30);
    auto cast = portal->Start(token, timeout, whyNot);
    const auto took = duration_cast<milliseconds>(steady_clock::now() - began).count();
    if (!cast) {
        std::fprintf(stderr, "screencast_start: %s\n", whyNot.c_str());
        return 1;
    }
    const int fd = cast->ReleasePipeWireFd();
    if (fd < 0 || cast->ReleasePipeWireFd() != -1) {
        std::fprintf(stderr,
                     "screencast_start: the PipeWire connection was not handed over once\n");
        return 1;
    }
    close(fd);
    for (const auto& stream : cast->Streams()) {
        std::printf("node=%u area=%s%d,%d,%s%dx%d ", stream.nodeId, stream.positionKnown ? "" : "?",
                    stream.area.x, stream.area.y, stream.sizeKnown ? "" : "?", stream.area.width,
                    stream.area.height);
    }
    const auto persist = cast->PersistMode();
    std::printf("cursor=%s persist=%s ms=%lld token=%s\n",
                cast->CursorMetadata() ? "metadata" : "hidden",
                persist ? std::to_string(*persist).c_str() : "-", static_cast<long long>(took),
                cast->RestoreToken().c_str());
    return 0;
}
