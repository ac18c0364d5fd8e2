// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/wayland_desktop.h"

#include "desktop/wayland/click_picker.h"
#include "desktop/wayland/live_screen.h"
#include "desktop/wayland/png_screenshot.h"
#include "desktop/wayland/screencast_portal.h"
#include "desktop/wayland/screenshot_portal.h"
#include "desktop/wayland/wayland_lost.h"

#include <algorithm>
#include <cstdio>

namespace huegrab {
namespace {

using namespace std::chrono_literals;

// The desktop may first ask the user whether to allow screenshots: give
// a person time to answer.
constexpr auto kScreenshotTimeout = 60s;
// The first cast waits for the user's answer in the share dialog.
constexpr auto kCastTimeout = 120s;

} // namespace

std::unique_ptr<WaylandDesktop>
WaylandDesktop::Open(WaylandReading reading, ScreenShareConsent consent, std::string& whyNot) {
    auto portal = wayland::ScreenshotPortal::Open(whyNot);
    if (!portal)
        return nullptr;
    // Without a screen-cast portal the screenshots still read the screen.
    std::string noCast;
    const auto cast = wayland::ScreenCastPortal::Open(noCast);
    auto live = cast ? std::make_unique<wayland::LiveScreen>(std::move(consent)) : nullptr;
    return std::make_unique<WaylandDesktop>(
        reading, std::make_unique<wayland::ScreenshotPortal>(std::move(*portal)), std::move(live),
        cast && cast->OffersCursorMetadata());
}

WaylandDesktop::WaylandDesktop(WaylandReading reading,
                               std::unique_ptr<wayland::ScreenshotPortal> portal,
                               std::unique_ptr<wayland::LiveScreen> live, bool castShowsPointer)
    : reading_(reading), portal_(std::move(portal)), live_(std::move(live)),
      castShowsPointer_(castShowsPointer && live_),
      picker_(std::make_unique<wayland::ClickPicker>()) {}

WaylandDesktop::~WaylandDesktop() = default;

std::optional<std::string> WaylandDesktop::WhyNotOffered(DesktopAbility ability) {
    switch (ability) {
    case DesktopAbility::ReadPointer:
        if (castShowsPointer_)
            return std::nullopt;
        return "not available in a Wayland session: the compositor does not tell other "
               "programs where the pointer is";
    case DesktopAbility::MovePointer:
        return "not available in a Wayland session: the compositor does not let other "
               "programs move the pointer";
    case DesktopAbility::Hotkeys:
        return "not available in a Wayland session: the compositor takes no global key "
               "grabs from other programs";
    case DesktopAbility::Windows:
        return "not available in a Wayland session: the compositor does not show other "
               "programs its windows";
    case DesktopAbility::CursorImage:
        return "not available in a Wayland session: the compositor does not show other "
               "programs the cursor image";
    }
    return std::nullopt;
}

std::optional<PixelBlock> WaylandDesktop::TakeScreenshot(std::string& whyNot) {
    const auto file = portal_->Take(kScreenshotTimeout, whyNot);
    if (!file)
        return std::nullopt;
    auto shot = wayland::ReadPngScreenshot(*file, whyNot);
    // The file was made for this one read and nobody else knows its name:
    // left behind, every reading would leave a screenshot in the user's
    // pictures.
    std::remove(file->c_str());
    return shot;
}

PixelBlock WaylandDesktop::Screenshot() {
    if (unread_) {
        PixelBlock shot = std::move(*unread_);
        unread_.reset();
        return shot;
    }
    std::string whyNot;
    auto shot = TakeScreenshot(whyNot);
    if (!shot)
        wayland::LoseDesktop(whyNot);
    return std::move(*shot);
}

std::optional<PixelBlock> WaylandDesktop::LiveBlock(std::int32_t left, std::int32_t top,
                                                    std::int32_t width, std::int32_t height) {
    // The window's first reading starts the cast, so that the desktop's
    // share dialog comes when the user switches tracking on, above the
    // window. One-shot readings take screenshots and start nothing.
    if (live_ && reading_ == WaylandReading::Live && castShowsPointer_)
        live_->Start();
    if (!live_ || !live_->Ready())
        return std::nullopt;
    return live_->ReadBlock(left, top, width, height);
}

ColorValue WaylandDesktop::GetPixel(std::int32_t x, std::int32_t y) {
    return ReadBlock(x, y, 1, 1).At(x, y);
}

PixelBlock WaylandDesktop::ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                                     std::int32_t height) {
    if (auto block = LiveBlock(left, top, width, height))
        return std::move(*block);
    if (reading_ == WaylandReading::Screenshots)
        return wayland::CutBlock(Screenshot(), left, top, width, height);
    // The window where points are picked by click reads the screen as it
    // was when the pick began; one that follows the pointer has nothing to
    // read until the cast runs.
    std::optional<PixelBlock> picked;
    {
        const std::lock_guard lock(pickedMutex_);
        picked.swap(pickedScreen_);
    }
    if (picked)
        return wayland::CutBlock(*picked, left, top, width, height);
    return PixelBlock::OffScreen(left, top, width, height);
}

std::optional<ScreenPoint> WaylandDesktop::GetCursorPos() {
    if (!castShowsPointer_)
        return std::nullopt;
    live_->Start();
    if (reading_ == WaylandReading::Screenshots && !live_->WaitUntilReady(kCastTimeout))
        wayland::LoseDesktop(live_->Failure().value_or("the screen cast did not start in time"));
    std::optional<ScreenPoint> pointer = live_->Pointer();
    // The window goes on without the cast (the user may have refused the
    // share); a person at a terminal learns why once.
    if (!pointer && !castFailureSaid_) {
        if (const std::optional<std::string> failure = live_->Failure()) {
            std::fprintf(stderr, "huegrab: %s; no readings without it.\n", failure->c_str());
            castFailureSaid_ = true;
        }
    }
    return pointer;
}

void WaylandDesktop::ReadBlockInStrips(const ScreenRect& area,
                                       const std::function<bool(const PixelBlock& strip)>& take) {
    // The screenshot holds the whole desktop already: strips would only
    // take more screenshots. What lies off it is in no strip.
    const PixelBlock shot = Screenshot();
    const std::int64_t left = std::max<std::int64_t>(area.x, 0);
    const std::int64_t top = std::max<std::int64_t>(area.y, 0);
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t{area.x} + area.width, shot.width);
    const std::int64_t bottom =
        std::min<std::int64_t>(std::int64_t{area.y} + area.height, shot.height);
    if (left < right && top < bottom)
        take(wayland::CutBlock(
            shot, static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
            static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)));
}

std::optional<ScreenRect> WaylandDesktop::ScreenBounds() {
    unread_ = Screenshot();
    return ScreenRect{0, 0, unread_->width, unread_->height};
}

bool WaylandDesktop::PicksPointsByClick() {
    return picker_->Offered();
}

std::optional<ScreenPoint> WaylandDesktop::PickPointByClick(std::string& whyNot) {
    // The window reads the picked point after the click, when a compositor
    // that draws the pointer into its pictures would show the pointer
    // there: the screen is taken as the pick begins. (A script's reading
    // takes its own.)
    if (reading_ == WaylandReading::Live) {
        std::string noShot;
        std::optional<PixelBlock> shot = TakeScreenshot(noShot);
        if (!shot)
            std::fprintf(stderr, "huegrab: %s; the picked point has no colour.\n", noShot.c_str());
        const std::lock_guard lock(pickedMutex_);
        pickedScreen_ = std::move(shot);
    }
    return picker_->Pick(whyNot);
}

void WaylandDesktop::EndPicking() {
    picker_->End();
}

} // namespace huegrab
