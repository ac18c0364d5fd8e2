// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop_session.h"
#include "app/form/form1.h"
#include "app/main_window_controller.h"
#include "app/program_options.h"
#include "app/qt_shell.h"
#include "app/window_language_setup.h"
#include "desktop/open_desktop.h"
#include "desktop/wayland_session.h"
#include "platform/close_signals.h"
#include "platform/program_folder.h"
#include "settings/screen_share_token.h"

#include <QApplication>
#include <QLabel>
#include <QMetaObject>
#include <cstdio>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

int main(int argc, char* argv[]) {
    using namespace huegrab;

    // --help and --version answer without a display, before Qt starts.
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const auto options = ReadProgramOptions(arguments);
    if (const auto* error = std::get_if<ProgramUsageError>(&options)) {
        std::fprintf(stderr, "huegrab: %s\n", error->message.c_str());
        return 2;
    }
    if (std::get<ProgramOptions>(options).help) {
        std::fputs(ProgramHelpText().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 2;
    }
    if (std::get<ProgramOptions>(options).version) {
        std::fputs("huegrab " HUEGRAB_VERSION "\n", stdout);
        return std::fflush(stdout) == 0 ? 0 : 2;
    }

    UseX11OnWayland();
    UseTheDisplayOfTheCommandLine(argc, argv);
    SendWindowUpdatesOverTheConnection();

    // The desktop comes first: without one there is nothing to pick from,
    // and Qt would abort less helpfully. Its own window runs on XWayland in
    // a Wayland session, which gives it the hotkey; the screen and the
    // pointer come from the desktop portal's screen cast, whose consent
    // config.ini keeps.
    ScreenShareConsent consent;
    if (const std::optional<std::string> folder = platform::ProgramFolder()) {
        auto file = KeepScreenShareTokenFor(*folder);
        consent = {std::move(file.load), std::move(file.store)};
    }
    std::string whyNot;
    std::unique_ptr<DesktopServices> desktop =
        OpenDesktop(whyNot, WaylandSession::LiveWithXWayland, std::move(consent));
    if (!desktop) {
        std::fprintf(stderr, "huegrab: %s\n", whyNot.c_str());
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("huegrab");
    GiveStartedProgramsTheUsersEnvironment();
    // The folder as the system names it; Qt's form where the system does not say.
    const std::string programFolder =
        platform::ProgramFolder().value_or(QCoreApplication::applicationDirPath().toStdString());
    // Qt has taken its own options out of argv; --lang is ours.
    SetUpWindowLanguage(application, argc, argv, programFolder);

    QtShell shell;
    Form1 form(shell);
    MainWindowController controller(form, *desktop, programFolder);
    // The signal arrives on a thread of its own: the close is queued to this one.
    platform::CloseSignals closeOnSignal(
        [&form] { QMetaObject::invokeMethod(&form, "close", Qt::QueuedConnection); });

    controller.Startup();
    if (IsWaylandSession()) // after Startup, which names the hotkey in the same tooltip
        NoteWaylandLimits(*form.Controls().tracking.lamp, ReadsThroughXWayland(*desktop));
    form.CenterOnScreen();
    form.show();
    controller.CloseWhenTheWindowIsDestroyed(); // its native window exists once shown
    return application.exec();
}
