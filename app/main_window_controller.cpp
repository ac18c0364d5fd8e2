#include "app/main_window_controller.h"

#include "app/form/form1.h"
#include "settings/settings_path.h"

#include <QComboBox>
#include <QEvent>
#include <QTimer>

namespace huegrab {

MainWindowController::MainWindowController(Form1& form, DesktopServices& desktop,
                                           std::string applicationFolder)
    : form_(form), desktop_(desktop), applicationFolder_(std::move(applicationFolder)),
      tracking_(form, desktop, state_), offset_(form, state_), lookup_(form, desktop),
      colourSlots_(form, state_) {
    form_.installEventFilter(this);
}

MainWindowController::~MainWindowController() {
    form_.removeEventFilter(this);
    if (started_ && !shutDown_)
        Shutdown();
}

void MainWindowController::Startup() {
    state_.trackingState = TrackingState::Stopped;

    // Hotkey presses reach the start/stop switch; nothing else of the
    // window is intercepted.
    desktop_.SetHotkeyHandler(
        [this](const HotkeyMessage& message) { tracking_.HandleHotkey(message); });
    WatchDesktopEvents();
    state_.hotkey = HotkeyBinding{};
    // Without the hotkey (another program holds it) the check box still works.
    state_.hotkeyRegistered = desktop_.RegisterHotKey(state_.hotkey.id, state_.hotkey.modifiers,
                                                      state_.hotkey.virtualKey);

    form_.Controls().cursor.method->setCurrentIndex(0);
    state_.focusedColourSlot = 0;
    state_.settingsPath = SettingsPath(applicationFolder_);
    colourSlots_.Restore();
    started_ = true;
}

void MainWindowController::Shutdown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    // The timer stops first, so no tick runs while or after values are stored.
    form_.Timer1()->stop();
    desktop_.SetHotkeyHandler(nullptr);
    desktop_.UnregisterHotKey(state_.hotkey.id);
    state_.hotkeyRegistered = false;
    desktopEvents_.reset();
    colourSlots_.SaveFocused();
}

void MainWindowController::WatchDesktopEvents() {
    desktopEvents_ = std::make_unique<QtDesktopEventLoop>();
    desktop_.AttachEventLoop(*desktopEvents_);
}

bool MainWindowController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &form_ && event->type() == QEvent::Close)
        Shutdown(); // closing is never refused
    return QObject::eventFilter(watched, event);
}

} // namespace huegrab
