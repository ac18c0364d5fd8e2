// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop_session.h"

#include "app/form/translation.h"
#include "desktop/wayland_session.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QWidget>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace huegrab {

namespace {

constexpr char kNoteForTooltip[] = QT_TRANSLATE_NOOP(
    "Form1", "Wayland 会话：原生 Wayland 程序的窗口读作黑色；Alt+~ 仅在 X11 窗口有焦点时有效。");
constexpr char kPortalNoteForTooltip[] = QT_TRANSLATE_NOOP(
    "Form1", "Wayland 会话：屏幕经桌面门户共享读取；Alt+~ 仅在 X11 窗口有焦点时有效。");

// Settings made for Qt alone, each with what the user had (nullopt: not
// set), to be put back once Qt has read them.
std::vector<std::pair<const char*, std::optional<QByteArray>>> setForQtAlone;

void SetForQtAlone(const char* name, const QByteArray& value) {
    std::optional<QByteArray> before;
    if (qEnvironmentVariableIsSet(name))
        before = qgetenv(name);
    setForQtAlone.emplace_back(name, std::move(before));
    qputenv(name, value);
}

} // namespace

bool UseX11OnWayland() {
    if (!IsWaylandSession())
        return false;
    SetForQtAlone("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
    return true;
}

void UseTheDisplayOfTheCommandLine(int argc, char** argv) {
    // As Qt's X11 platform reads it: one or two dashes, the name in the next
    // argument, the last one counting.
    for (int i = 1; i + 1 < argc; ++i) {
        QByteArray option(argv[i]);
        if (option.startsWith("--"))
            option.remove(0, 1);
        if (option == "-display")
            qputenv("DISPLAY", QByteArray(argv[++i]));
    }
}

void SendWindowUpdatesOverTheConnection() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        SetForQtAlone("QT_XCB_NO_MITSHM", QByteArrayLiteral("1"));
}

void GiveStartedProgramsTheUsersEnvironment() {
    for (auto it = setForQtAlone.rbegin(); it != setForQtAlone.rend(); ++it) {
        if (it->second)
            qputenv(it->first, *it->second);
        else
            qunsetenv(it->first);
    }
    setForQtAlone.clear();
}

void NoteWaylandLimits(QWidget& statusLamp, bool readsThroughXWayland) {
    constexpr char kHotkeyLimit[] = ", and Alt+~ works only while an X11 window has the focus";
    const std::string note =
        readsThroughXWayland
            ? WaylandSessionNote("huegrab", kHotkeyLimit)
            : std::string("huegrab: this is a Wayland session; the screen is read through the "
                          "desktop portal's screen share") +
                  kHotkeyLimit + ".\n";
    std::fputs(note.c_str(), stderr);
    statusLamp.setToolTip(statusLamp.toolTip() + QStringLiteral("\n") +
                          QCoreApplication::translate(kFormContext, readsThroughXWayland
                                                                        ? kNoteForTooltip
                                                                        : kPortalNoteForTooltip));
}

} // namespace huegrab
