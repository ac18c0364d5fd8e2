// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/wayland_desktop.h"

#include "desktop/wayland/click_picker.h"
#include "desktop/wayland/png_screenshot.h"
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

} // namespace

std::unique_ptr<WaylandDesktop> WaylandDesktop::Open(std::string& whyNot) {
    auto portal = wayland::ScreenshotPortal::Open(whyNot);
    if (!portal)
        return nullptr;
    return std::make_unique<WaylandDesktop>(
        std::make_unique<wayland::ScreenshotPortal>(std::move(*portal)));
}

WaylandDesktop::WaylandDesktop(std::unique_ptr<wayland::ScreenshotPortal> portal)
    : portal_(std::move(portal)), picker_(std::make_unique<wayland::ClickPicker>()) {}

WaylandDesktop::~WaylandDesktop() = default;

std::optional<std::string> WaylandDesktop::WhyNotOffered(DesktopAbility ability) {
    switch (ability) {
    case DesktopAbility::ReadPointer:
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

PixelBlock WaylandDesktop::Screenshot() {
    if (unread_) {
        PixelBlock shot = std::move(*unread_);
        unread_.reset();
        return shot;
    }
    std::string whyNot;
    const auto file = portal_->Take(kScreenshotTimeout, whyNot);
    if (!file)
        wayland::LoseDesktop(whyNot);
    auto shot = wayland::ReadPngScreenshot(*file, whyNot);
    // The file was made for this one read and nobody else knows its name:
    // left behind, every reading would leave a screenshot in the user's
    // pictures.
    std::remove(file->c_str());
    if (!shot)
        wayland::LoseDesktop(whyNot);
    return std::move(*shot);
}

ColorValue WaylandDesktop::GetPixel(std::int32_t x, std::int32_t y) {
    return Screenshot().At(x, y);
}

PixelBlock WaylandDesktop::ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                                     std::int32_t height) {
    return wayland::CutBlock(Screenshot(), left, top, width, height);
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
    return picker_->Pick(whyNot);
}

} // namespace huegrab
