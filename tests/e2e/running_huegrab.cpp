// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/e2e/running_huegrab.h"

#include "app/form/layout_table.h"
#include "tests/x11/support/x_connection.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <thread>

namespace huegrab::e2e {

RunningHuegrab::RunningHuegrab(bool windowManager, int scale) : scale_(scale) {
    xtest::ServerOptions options;
    options.width = 1024;
    options.height = 768;
    options.windowManager = windowManager;
    server_ = xtest::XvfbServer::Start(options);
    std::string pattern = (std::filesystem::temp_directory_path() / "huegrab-e2e-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
        folder_ = pattern;
    programFolder_ = folder_;
}

RunningHuegrab::~RunningHuegrab() {
    process_.reset();
    std::error_code ignored;
    if (!folder_.empty())
        std::filesystem::remove_all(folder_, ignored);
}

bool RunningHuegrab::Start() {
    if (!server_ || folder_.empty())
        return false;
    const auto binary = programFolder_ / "huegrab";
    std::error_code error;
    std::filesystem::create_directories(programFolder_, error);
    std::filesystem::copy_file(HUEGRAB_BINARY, binary,
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error)
        return false;
    xtest::ChildOptions options;
    // The Chinese window whatever the developer's locale; a test may still
    // ask for another one through SetEnvironment.
    options.environment = {{"QT_SCALE_FACTOR", std::to_string(scale_)},
                           {"LANG", "C"},
                           {"LANGUAGE", ""},
                           {"LC_ALL", ""},
                           {"LC_MESSAGES", ""}};
    options.environment.insert(options.environment.end(), environment_.begin(), environment_.end());
    std::vector<std::string> command{binary.string()};
    command.insert(command.end(), arguments_.begin(), arguments_.end());
    process_ = server_->Launch(command, options);
    if (!process_)
        return false;
    xtest::CommandOptions wait;
    wait.timeout = std::chrono::milliseconds(15000);
    const xtest::CommandResult found =
        server_->Run({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^Huegrab"}, wait);
    if (found.exitCode != 0)
        return false;
    window_ = found.output.substr(0, found.output.find('\n'));
    // Let the window settle where the window manager puts it.
    auto where = [&] {
        return server_->Run({"xwininfo", "-id", window_}).output;
    };
    const bool placed = xtest::WaitUntil([&] {
        const std::string before = where();
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        return before == where();
    });
    static const std::regex kX("Absolute upper-left X:\\s+(-?\\d+)");
    static const std::regex kY("Absolute upper-left Y:\\s+(-?\\d+)");
    const std::string info = where();
    std::smatch match;
    if (std::regex_search(info, match, kX))
        origin_.x = std::stoi(match[1]);
    if (std::regex_search(info, match, kY))
        origin_.y = std::stoi(match[1]);
    return placed;
}

std::optional<int> RunningHuegrab::WaitForExit(std::chrono::milliseconds timeout) {
    return process_ ? process_->Wait(timeout) : std::nullopt;
}

std::string RunningHuegrab::ConfigText() const {
    std::ifstream in(programFolder_ / "config.ini", std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

Point RunningHuegrab::Centre(std::string_view name, int index) const {
    const std::optional<TwipsRect> rect = ClientTwips({name, index});
    EXPECT_TRUE(rect) << "no control " << name << "(" << index << ")";
    if (!rect)
        return origin_;
    return {origin_.x + scale_ * TwipsToPixels(rect->left + rect->width / 2),
            origin_.y + scale_ * TwipsToPixels(rect->top + rect->height / 2)};
}

Point RunningHuegrab::Inside(std::string_view name, int index) const {
    const std::optional<TwipsRect> rect = ClientTwips({name, index});
    EXPECT_TRUE(rect) << "no control " << name << "(" << index << ")";
    if (!rect)
        return origin_;
    return {origin_.x + scale_ * (TwipsToPixels(rect->left) + 3),
            origin_.y + scale_ * (TwipsToPixels(rect->top) + 3)};
}

void RunningHuegrab::Click(std::string_view name, int index) {
    const Point at = Centre(name, index);
    server_->Run(
        {"xdotool", "mousemove", std::to_string(at.x), std::to_string(at.y), "click", "1"});
}

void RunningHuegrab::Drag(std::string_view from, Point to) {
    const Point start = Centre(from);
    MovePointer(start.x, start.y);
    server_->Run({"xdotool", "mousedown", "1"});
    constexpr int kSteps = 8;
    for (int step = 1; step <= kSteps; ++step) {
        MovePointer(start.x + (to.x - start.x) * step / kSteps,
                    start.y + (to.y - start.y) * step / kSteps);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    server_->Run({"xdotool", "mouseup", "1"});
}

void RunningHuegrab::DoubleClickAt(Point point) {
    server_->Run({"xdotool", "mousemove", std::to_string(point.x), std::to_string(point.y), "click",
                  "--repeat", "2", "--delay", "80", "1"});
}

std::string RunningHuegrab::Clipboard() {
    return server_->Run({"xclip", "-o", "-selection", "clipboard"}).output;
}

void RunningHuegrab::SetClipboard(const std::string& text) {
    xtest::CommandOptions options;
    options.input = text;
    server_->Run({"xclip", "-i", "-selection", "clipboard"}, options);
}

std::string RunningHuegrab::FieldText(std::string_view name, int index) {
    static const std::string kSentinel = "\x01no copy\x01";
    SetClipboard(kSentinel);
    Click(name, index);
    Key("ctrl+a");
    Key("ctrl+c");
    std::string text = kSentinel;
    xtest::WaitUntil(
        [&] {
            text = Clipboard();
            return text != kSentinel;
        },
        std::chrono::milliseconds(2000));
    return text == kSentinel ? std::string() : text;
}

void RunningHuegrab::MovePointer(int x, int y) {
    server_->Run({"xdotool", "mousemove", std::to_string(x), std::to_string(y)});
}

void RunningHuegrab::Key(const std::string& keys) {
    server_->Run({"xdotool", "key", keys});
}

std::string RunningHuegrab::ClipboardText() {
    return server_->Run({"xclip", "-o", "-selection", "clipboard"}).output;
}

std::string RunningHuegrab::ScreenColor(Point point) {
    const std::string crop = "1x1+" + std::to_string(point.x) + "+" + std::to_string(point.y);
    const xtest::CommandResult shot =
        server_->Run({"import", "-window", "root", "-crop", crop, "-depth", "8", "txt:-"});
    static const std::regex kHex("#[0-9A-Fa-f]{6}");
    std::smatch match;
    return std::regex_search(shot.output, match, kHex) ? match.str() : shot.output;
}

std::vector<std::vector<std::string>> RunningHuegrab::ScreenColors(Point topLeft, int width,
                                                                   int height) {
    std::vector<std::vector<std::string>> colors(
        static_cast<std::size_t>(height),
        std::vector<std::string>(static_cast<std::size_t>(width)));
    const std::string crop = std::to_string(width) + "x" + std::to_string(height) + "+" +
                             std::to_string(topLeft.x) + "+" + std::to_string(topLeft.y);
    const xtest::CommandResult shot =
        server_->Run({"import", "-window", "root", "-crop", crop, "-depth", "8", "txt:-"});
    // Lines read "x,y: (r,g,b)  #RRGGBB  srgb(...)".
    static const std::regex kPixel("^(\\d+),(\\d+):.*?(#[0-9A-Fa-f]{6})");
    std::istringstream lines(shot.output);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (!std::regex_search(line, match, kPixel))
            continue;
        const auto x = std::stoul(match[1]);
        const auto y = std::stoul(match[2]);
        if (y < colors.size() && x < colors[y].size())
            colors[y][x] = match[3];
    }
    return colors;
}

bool RunningHuegrab::WaitForColor(std::string_view name, int index, const std::string& color) {
    const Point at = Inside(name, index);
    return xtest::WaitUntil([&] { return ScreenColor(at) == color; },
                            std::chrono::milliseconds(5000));
}

} // namespace huegrab::e2e
