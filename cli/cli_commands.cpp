// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"

#include "cli/pixel_search.h"
#include "cli/reading_format.h"
#include "cli/window_json.h"
#include "cursor/cursor_feature_code.h"
#include "text/number_text.h"
#include "windowtools/window_probe.h"
#include "windowtools/window_walk.h"

#include <string_view>
#include <thread>
#include <vector>

namespace huegrab::cli {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// How often a pixel is read where the desktop offers no change reports.
constexpr auto kPollInterval = 50ms;
// The longest a wait sleeps without taking the desktop's events.
constexpr auto kLongestSleep = 1s;

std::string PointText(ScreenPoint point) {
    return DecimalText(point.x) + "," + DecimalText(point.y);
}

Outcome Failure(int status, const Request& request, std::string reason) {
    return {status, {}, std::string(CommandName(request.command)) + ": " + std::move(reason)};
}

std::string FormatReading(const Request& request, const Reading& reading) {
    switch (request.style) {
    case ReadingStyle::Json:
        return FormatJson(reading) + "\n";
    case ReadingStyle::Format:
        return ExpandTemplate(request.format, reading).text + "\n";
    case ReadingStyle::Line:
        break;
    }
    return FormatLine(reading) + "\n";
}

bool OnScreen(ScreenPixels& screen, ScreenPoint point) {
    const auto bounds = screen.ScreenBounds();
    if (!bounds)
        return true; // the read itself then tells
    return Intersect({point.x, point.y, 1, 1}, *bounds).has_value();
}

// The point the request names, or the pointer's position.
std::optional<ScreenPoint> TargetPoint(const Request& request, PointerAndKeyboard& input) {
    return request.point ? request.point : input.GetCursorPos();
}

// Whether the request's point is to be clicked by the user: it asks where
// the pointer is, on a desktop that cannot tell but picks points by click.
bool PointByClick(const Request& request, DesktopServices& desktop) {
    const bool wantsPointer = request.command == Command::Pointer ||
                              (request.command == Command::Pixel && !request.point);
    return wantsPointer && desktop.WhyNotOffered(DesktopAbility::ReadPointer) &&
           desktop.PicksPointsByClick();
}

struct PointOrFailure {
    std::optional<ScreenPoint> point;
    Outcome failure; // when there is no point
};

// The pointer's position, or where the desktop picks points by click, the
// point the user clicks once told to.
PointOrFailure PointerPoint(const Request& request, DesktopServices& desktop,
                            const Notice& notice) {
    if (!PointByClick(request, desktop)) {
        if (const auto point = desktop.GetCursorPos())
            return {point, {}};
        return {std::nullopt, Failure(kExitNotFound, request, "the pointer is not on this screen")};
    }
    if (notice)
        notice("click the point to read (Esc cancels)");
    std::string whyNot;
    if (const auto point = desktop.PickPointByClick(whyNot))
        return {point, {}};
    return {std::nullopt, Failure(kExitNotFound, request, std::move(whyNot))};
}

Outcome Pointer(const Request& request, DesktopServices& desktop, const Notice& notice) {
    const PointOrFailure pointer = PointerPoint(request, desktop, notice);
    if (!pointer.point)
        return pointer.failure;
    return {kExitDone, PointText(*pointer.point) + "\n", {}};
}

// The whole screen as it is now, where the desktop tells its size.
std::optional<PixelBlock> WholeScreen(ScreenPixels& screen) {
    const auto bounds = screen.ScreenBounds();
    if (!bounds || bounds->width < 1 || bounds->height < 1)
        return std::nullopt;
    return screen.ReadBlock(bounds->x, bounds->y, bounds->width, bounds->height);
}

Outcome Pixel(const Request& request, DesktopServices& desktop, const Notice& notice) {
    // A clicked point's colour is the screen's as the click was asked for:
    // read after it, a compositor that draws the pointer into its pictures
    // (a software cursor: headless, many virtual machines) would give the
    // pointer's own image there.
    const bool byClick = !request.point && PointByClick(request, desktop);
    const std::optional<PixelBlock> before =
        byClick ? WholeScreen(desktop) : std::optional<PixelBlock>();
    const PointOrFailure target =
        request.point ? PointOrFailure{request.point, {}} : PointerPoint(request, desktop, notice);
    if (!target.point)
        return target.failure;
    const ScreenPoint point = *target.point;
    ColorValue value = kInvalidColor;
    if (before)
        value = before->At(point.x, point.y);
    else if (OnScreen(desktop, point))
        value = ReadScreenPixel(desktop, point.x, point.y);
    if (value < 0)
        return Failure(kExitNotFound, request, PointText(point) + " is off the screen");
    return {kExitDone, FormatReading(request, {point, value, request.order}), {}};
}

Outcome WaitPixel(const Request& request, ScreenPixels& screen, DesktopEvents& events) {
    const ScreenPoint point = *request.point;
    if (!OnScreen(screen, point))
        return Failure(kExitNotFound, request, PointText(point) + " is off the screen");
    const auto deadline =
        request.timeout ? Clock::now() + *request.timeout : Clock::time_point::max();
    // The watch first, then the read: a change in between is not lost.
    auto watch = screen.WatchScreenChanges({point.x, point.y, 1, 1});
    while (true) {
        const ColorValue value = ReadScreenPixel(screen, point.x, point.y);
        if (value < 0)
            return Failure(kExitNotFound, request, PointText(point) + " is off the screen");
        if ((value == request.color) != request.untilDifferent)
            return {kExitDone, FormatReading(request, {point, value, request.order}), {}};
        const auto now = Clock::now();
        if (now >= deadline) {
            return Failure(kExitNotFound, request,
                           "timed out; " + PointText(point) + " still shows " +
                               HexText(value, request.order));
        }
        // Other programs' keyboard changes reach the desktop as events, and
        // no event loop takes them here: unread, they would pile up in this
        // process and, while it sleeps, in the X server. Short sleeps also
        // keep the arithmetic clear of overflow.
        events.DispatchEvents();
        const auto left = std::min<Clock::duration>(deadline - now, kLongestSleep);
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(left);
        if (watch) {
            if (watch->WaitForChange(wait) == ScreenWait::Failed)
                watch.reset();
        } else {
            std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(wait, kPollInterval));
        }
    }
}

Outcome Search(const Request& request, ScreenPixels& screen) {
    const auto bounds = screen.ScreenBounds();
    std::optional<ScreenRect> area = request.region;
    if (bounds)
        area = Intersect(area.value_or(*bounds), *bounds);
    else if (!area)
        return Failure(kExitUsage, request, "this desktop does not tell its size; give --region");
    if (!area)
        return Failure(kExitNotFound, request, "the region lies off the screen");
    // One pass over the area, strip by strip, stopping at the first match.
    std::optional<ScreenPoint> found;
    screen.ReadBlockInStrips(*area, [&](const PixelBlock& strip) {
        found = FindColor(strip, request.color, request.tolerance);
        return !found;
    });
    if (!found)
        return Failure(kExitNotFound, request,
                       "no pixel of " + HexText(request.color, request.order));
    return {kExitDone, PointText(*found) + "\n", {}};
}

// Handle, title and class, one a line, as the pick page shows them.
Outcome WindowAt(const Request& request, PointerAndKeyboard& input, DesktopWindows& windows) {
    // A pointer on another screen of the display is over no window here.
    const auto point = TargetPoint(request, input);
    if (!point)
        return Failure(kExitNotFound, request, "the pointer is not on this screen");
    const WindowHandle window = windows.WindowFromPoint(*point);
    const WindowFacts facts = DescribeWindow(windows, window);
    if (request.style == ReadingStyle::Json)
        return {kExitDone, WindowJson({window, {facts.title, facts.className}}) + "\n", {}};
    return {kExitDone,
            facts.handle + "\n" + OneLine(facts.title) + "\n" + OneLine(facts.className) + "\n",
            {}};
}

// The windows with their classes, read one by one: only JSON asks for them.
std::string WindowsAsJson(DesktopWindows& windows, const std::vector<TitledWindow>& titled) {
    std::vector<WindowDescription> described;
    for (const TitledWindow& window : titled) {
        described.push_back(
            {window.handle, {window.title, DescribeWindow(windows, window.handle).className}});
    }
    return WindowsJson(described) + "\n";
}

Outcome Windows(const Request& request, DesktopWindows& windows) {
    if (request.style == ReadingStyle::Json)
        return {kExitDone, WindowsAsJson(windows, TitledWindows(windows)), {}};
    std::string out;
    for (const std::string& line : ListTopLevelWindows(windows))
        out.append(line).append(kWindowTextLineEnd);
    return {kExitDone, std::move(out), {}};
}

Outcome Find(const Request& request, DesktopWindows& windows) {
    // A title copied from the window comes between double quotes; the
    // search page drops them too.
    std::string search = request.text;
    std::erase(search, '"');
    if (request.style == ReadingStyle::Json) {
        const std::vector<TitledWindow> found = WindowsWithTitle(windows, search);
        if (!found.empty())
            return {kExitDone, WindowsAsJson(windows, found), {}};
    } else if (std::string found = FindWindowsByTitle(windows, search); !found.empty()) {
        return {kExitDone, std::move(found), {}};
    }
    return Failure(kExitNotFound, request, "no window title contains \"" + search + "\"");
}

Outcome CursorCode(const Request& request, CursorImageSource& cursor, PointerAndKeyboard& input,
                   ScreenPixels& screen) {
    const CursorFeatureCode code = GetCursorFeatureCode(cursor, input, screen, request.method);
    return {kExitDone, DecimalText(code.code) + "\n", {}};
}

Outcome Lookup(const Request& request) {
    return {kExitDone, FormatReading(request, {std::nullopt, request.color, request.order}), {}};
}

// What the request needs of the desktop beyond its pixels, the first
// that a desktop lacks named in its refusal.
std::vector<DesktopAbility> AbilitiesNeeded(const Request& request) {
    switch (request.command) {
    case Command::Pointer:
        return {DesktopAbility::ReadPointer};
    case Command::Pixel:
        if (request.point)
            return {};
        return {DesktopAbility::ReadPointer};
    case Command::WindowAt:
        if (request.point)
            return {DesktopAbility::Windows};
        return {DesktopAbility::Windows, DesktopAbility::ReadPointer};
    case Command::Windows:
    case Command::Find:
        return {DesktopAbility::Windows};
    case Command::CursorCode:
        return {DesktopAbility::CursorImage, DesktopAbility::ReadPointer};
    case Command::WaitPixel:
    case Command::Search:
    case Command::Lookup:
        break;
    }
    return {};
}

} // namespace

bool NeedsDesktop(const Request& request) {
    return request.command != Command::Lookup;
}

Outcome RunRequest(const Request& request, DesktopServices* desktop, const Notice& notice) {
    if (!NeedsDesktop(request))
        return Lookup(request);
    if (!desktop)
        return Failure(kExitUsage, request, "no desktop");
    // An answer the desktop cannot give is said as such, never passed off
    // as "nothing there". A pointer it cannot read may still be clicked.
    const bool byClick = PointByClick(request, *desktop);
    for (const DesktopAbility ability : AbilitiesNeeded(request)) {
        if (byClick && ability == DesktopAbility::ReadPointer)
            continue;
        if (auto whyNot = desktop->WhyNotOffered(ability)) {
            if (ability == DesktopAbility::ReadPointer && request.command != Command::Pointer &&
                request.command != Command::CursorCode)
                *whyNot += "; give the point as X Y";
            return Failure(kExitUsage, request, std::move(*whyNot));
        }
    }
    switch (request.command) {
    case Command::Pointer:
        return Pointer(request, *desktop, notice);
    case Command::Pixel:
        return Pixel(request, *desktop, notice);
    case Command::WaitPixel:
        return WaitPixel(request, *desktop, *desktop);
    case Command::Search:
        return Search(request, *desktop);
    case Command::WindowAt:
        return WindowAt(request, *desktop, *desktop);
    case Command::Windows:
        return Windows(request, *desktop);
    case Command::Find:
        return Find(request, *desktop);
    case Command::CursorCode:
        return CursorCode(request, *desktop, *desktop, *desktop);
    case Command::Lookup:
        break;
    }
    return Lookup(request);
}

} // namespace huegrab::cli
