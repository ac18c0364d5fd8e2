#include "app/close_on_signal.h"
#include "app/form/form1.h"
#include "app/main_window_controller.h"
#include "app/qt_shell.h"
#include "desktop/x11/x11_desktop.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    using namespace huegrab;

    // The desktop comes first: without an X display there is nothing to pick
    // from, and Qt would abort less helpfully.
    std::unique_ptr<X11Desktop> desktop = X11Desktop::Open();
    if (!desktop) {
        const char* display = std::getenv("DISPLAY");
        std::fprintf(stderr,
                     "huegrab: cannot open the X display \"%s\".\n"
                     "Run it on an X11 desktop, or on a virtual one: xvfb-run -a huegrab\n",
                     display ? display : "");
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("huegrab");

    QtShell shell;
    Form1 form(shell);
    MainWindowController controller(form, *desktop,
                                    QCoreApplication::applicationDirPath().toStdString());
    CloseOnSignal closeOnSignal(form);

    controller.Startup();
    form.CenterOnScreen();
    form.show();
    return application.exec();
}
