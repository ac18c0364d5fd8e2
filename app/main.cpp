#include "app/application_folder.h"
#include "app/close_on_signal.h"
#include "app/desktop_session.h"
#include "app/form/form1.h"
#include "app/main_window_controller.h"
#include "app/qt_shell.h"
#include "app/window_language_setup.h"
#include "desktop/open_desktop.h"

#include <QApplication>
#include <QLabel>
#include <cstdio>
#include <string>

int main(int argc, char* argv[]) {
    using namespace huegrab;

    const bool wayland = UseX11OnWayland();
    UseTheDisplayOfTheCommandLine(argc, argv);
    SendWindowUpdatesOverTheConnection();

    // The desktop comes first: without one there is nothing to pick from,
    // and Qt would abort less helpfully.
    std::string whyNot;
    std::unique_ptr<DesktopServices> desktop = OpenDesktop(whyNot);
    if (!desktop) {
        std::fprintf(stderr, "huegrab: %s\n", whyNot.c_str());
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("huegrab");
    GiveStartedProgramsTheUsersEnvironment();
    // Qt has taken its own options out of argv; --lang is ours.
    SetUpWindowLanguage(application, argc, argv, ApplicationFolder());

    QtShell shell;
    Form1 form(shell);
    MainWindowController controller(form, *desktop, ApplicationFolder());
    CloseOnSignal closeOnSignal(form);

    if (wayland)
        NoteWaylandLimits(*form.Controls().tracking.lamp);
    controller.Startup();
    form.CenterOnScreen();
    form.show();
    controller.CloseWhenTheWindowIsDestroyed(); // its native window exists once shown
    return application.exec();
}
