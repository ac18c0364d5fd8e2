// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/x11/support/xvfb_server.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace huegrab::e2e {

// Colours of the tracking lamp Label8: red while tracking, green stopped.
inline constexpr char kLampRed[] = "#FF0000";
inline constexpr char kLampGreen[] = "#00FF00";

struct Point {
    int x = 0;
    int y = 0;
};

// The built huegrab, copied into a fresh folder (so its config.ini lands
// there) and started on a private X server.
class RunningHuegrab {
public:
    // scale: QT_SCALE_FACTOR for the program (a HiDPI desktop).
    explicit RunningHuegrab(bool windowManager = false, int scale = 1);
    ~RunningHuegrab();

    // Extra environment for the program, set before Start().
    void SetEnvironment(const std::string& name, const std::string& value) {
        environment_.emplace_back(name, value);
    }
    // Command-line arguments for the program, set before Start().
    void SetArguments(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }
    // The program goes into this subfolder of Folder() (its config.ini with
    // it), set before Start().
    void SetProgramFolderName(const std::string& name) { programFolder_ = folder_ / name; }
    // Starts the program and waits for its window; false when it does not come.
    bool Start();
    // Waits for the program to end; its exit status.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);

    xtest::XvfbServer& Server() { return *server_; }
    xtest::ChildProcess& Process() { return *process_; }
    const std::filesystem::path& Folder() const { return folder_; }
    // The config.ini beside the program; empty when there is none.
    std::string ConfigText() const;

    // Screen position of a control's centre, from the window's position and
    // the layout table.
    Point Centre(std::string_view name, int index = -1) const;
    // A point just inside the control's top-left corner, clear of its
    // border and of a centred caption.
    Point Inside(std::string_view name, int index = -1) const;
    void Click(std::string_view name, int index = -1);
    void MovePointer(int x, int y);
    void Key(const std::string& keys);
    // Presses the left button on one control, moves the pointer in steps to
    // a screen point with the button held, and releases it there.
    void Drag(std::string_view from, Point to);
    void DoubleClickAt(Point point);

    // The CLIPBOARD selection through xclip, as any other program sees it.
    std::string Clipboard();
    void SetClipboard(const std::string& text);
    // A text field's text as the user copies it: click, select all, copy.
    // Empty when the field copies nothing (an empty field).
    std::string FieldText(std::string_view name, int index = -1);
    // The program's main window id, as xdotool printed it.
    const std::string& WindowId() const { return window_; }

    // The CLIPBOARD selection's text, as xclip reads it.
    std::string ClipboardText();
    // The colour a screenshot of the root shows at the point, "#RRGGBB".
    std::string ScreenColor(Point point);
    // One screenshot of a rectangle of the root: colours row by row.
    std::vector<std::vector<std::string>> ScreenColors(Point topLeft, int width, int height);
    // Polls until the control shows `colour` (at Inside); false on time-out.
    bool WaitForColor(std::string_view name, int index, const std::string& color);

private:
    std::unique_ptr<xtest::XvfbServer> server_;
    std::filesystem::path folder_;
    std::filesystem::path programFolder_; // folder_ unless set
    std::vector<std::string> arguments_;
    std::optional<xtest::ChildProcess> process_;
    std::string window_;
    Point origin_;
    int scale_ = 1;
    xtest::EnvironmentVars environment_;
};

} // namespace huegrab::e2e
