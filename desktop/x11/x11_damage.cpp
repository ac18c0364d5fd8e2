// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_damage.h"

#include "desktop/x11/x11_error_trap.h"
#include "desktop/x11/x11_resources.h"

#include <X11/extensions/Xdamage.h>
#include <X11/extensions/Xfixes.h>
#include <cerrno>
#include <poll.h>

namespace huegrab::x11 {
namespace {

bool Overlaps(const XRectangle& rect, const ScreenRect& region) {
    // 64-bit sums: a region near the coordinate limits must not wrap.
    const std::int64_t right = std::int64_t{region.x} + region.width;
    const std::int64_t bottom = std::int64_t{region.y} + region.height;
    return rect.x < right && std::int64_t{rect.x} + rect.width > region.x && rect.y < bottom &&
           std::int64_t{rect.y} + rect.height > region.y;
}

class DamageWatch final : public ScreenChangeWatch {
public:
    DamageWatch(DisplayPtr display, int eventBase, const ScreenRect& region)
        : display_(std::move(display)), eventBase_(eventBase), region_(region) {
        RegisterOwnDisplay(display_.get());
    }

    // Starts collecting damage; false when the server refuses.
    bool Start() {
        Display* dpy = display_.get();
        XErrorTrap trap(dpy);
        // Non-empty reports: one event when the damage goes from nothing to
        // something; each subtract below re-arms it.
        damage_ = XDamageCreate(dpy, DefaultRootWindow(dpy), XDamageReportNonEmpty);
        parts_ = XFixesCreateRegion(dpy, nullptr, 0);
        // The server must collect damage before the caller's first read.
        return trap.Sync() == 0;
    }

    ~DamageWatch() override {
        Display* dpy = display_.get();
        XErrorTrap trap(dpy);
        if (parts_ != None)
            XFixesDestroyRegion(dpy, parts_);
        if (damage_ != None)
            XDamageDestroy(dpy, damage_);
        trap.Sync();
        UnregisterOwnDisplay(dpy);
    }

    DamageWatch(const DamageWatch&) = delete;
    DamageWatch& operator=(const DamageWatch&) = delete;

    ScreenWait WaitForChange(std::chrono::milliseconds timeout) override {
        using Clock = std::chrono::steady_clock;
        Display* dpy = display_.get();
        const auto deadline = Clock::now() + timeout;
        while (true) {
            if (TakeEvents())
                return ScreenWait::Changed;
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return ScreenWait::TimedOut;
            XFlush(dpy);
            pollfd readable{ConnectionNumber(dpy), POLLIN, 0};
            // Whole milliseconds, rounded up, so that the loop never spins.
            const int result = poll(&readable, 1, static_cast<int>(left.count()) + 1);
            if (result < 0 && errno != EINTR)
                return ScreenWait::Failed;
            if (result > 0 && (readable.revents & (POLLERR | POLLHUP)))
                return ScreenWait::Failed;
        }
    }

private:
    // Handles what has arrived; true when some damage touched the region.
    bool TakeEvents() {
        Display* dpy = display_.get();
        bool touched = false;
        while (XPending(dpy) > 0) {
            XEvent event;
            XNextEvent(dpy, &event);
            if (event.type != eventBase_ + XDamageNotify)
                continue;
            // Move the damage into parts_ and look at where it was.
            XDamageSubtract(dpy, damage_, None, parts_);
            int count = 0;
            XFreePtr<XRectangle> rects(XFixesFetchRegion(dpy, parts_, &count));
            for (int i = 0; i < count && !touched; ++i)
                touched = Overlaps(rects.get()[i], region_);
        }
        return touched;
    }

    DisplayPtr display_;
    int eventBase_;
    ScreenRect region_;
    Damage damage_ = None;
    XserverRegion parts_ = None;
};

} // namespace

std::unique_ptr<ScreenChangeWatch> OpenDamageWatch(const char* displayName,
                                                   const ScreenRect& region) {
    InstallErrorHandlers();
    DisplayPtr display(XOpenDisplay(displayName));
    if (!display)
        return nullptr;
    Display* dpy = display.get();
    int damageEvents = 0;
    int damageErrors = 0;
    int fixesEvents = 0;
    int fixesErrors = 0;
    int major = 0;
    int minor = 0;
    // Both extensions need their versions agreed before their first request.
    if (!XDamageQueryExtension(dpy, &damageEvents, &damageErrors) ||
        !XDamageQueryVersion(dpy, &major, &minor) || major < 1)
        return nullptr;
    if (!XFixesQueryExtension(dpy, &fixesEvents, &fixesErrors) ||
        !XFixesQueryVersion(dpy, &major, &minor) || major < 2)
        return nullptr;
    auto watch = std::make_unique<DamageWatch>(std::move(display), damageEvents, region);
    if (!watch->Start())
        return nullptr;
    return watch;
}

} // namespace huegrab::x11
