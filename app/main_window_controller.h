// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/clipboard_controls.h"
#include "app/color_slot_controls.h"
#include "app/cursor_panel_controls.h"
#include "app/desktop_abilities.h"
#include "app/hotkey_text.h"
#include "app/lookup_controls.h"
#include "app/offset_controls.h"
#include "app/qt_desktop_event_loop.h"
#include "app/tracking_controls.h"
#include "app/window_panel_controls.h"
#include "app/window_state.h"
#include "desktop/desktop_services.h"
#include "settings/settings_file.h"

#include <QObject>
#include <memory>
#include <string>

namespace huegrab {

class Form1;

// Brings the window's handlers together and runs its startup and shutdown
// steps. Shutdown runs once, when the window closes, whatever closes it.
class MainWindowController : public QObject {
public:
    MainWindowController(Form1& form, DesktopServices& desktop, std::string applicationFolder);
    ~MainWindowController() override;

    MainWindowController(const MainWindowController&) = delete;
    MainWindowController& operator=(const MainWindowController&) = delete;

    void Startup();
    // Once the form is shown: should another program destroy its window
    // (xdotool windowclose), the form closes as if the user had closed it.
    void CloseWhenTheWindowIsDestroyed();
    void Shutdown();
    // The one shutdown step that needs no desktop: stores the focused colour
    // slot. Run when the process ends without a close (the X connection
    // broke), also from inside Shutdown(); does nothing once the slot is stored.
    void StoreFocusedSlotOnly();

    const WindowState& State() const { return state_; }
    TrackingControls& Tracking() { return tracking_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchDesktopEvents();
    // [Hotkey] Key of config.ini; Alt + the key left of 1 when it is unset
    // or names no key (said on stderr).
    static HotkeyKeys HotkeyFromSettings(const SettingsFile& settings);
    // Says in the window, once at startup, when this session's slots will
    // not be kept or the settings have moved to the user's own folder.
    void NoteSettingsProblems(const SettingsFile& settings);
    // Registers the hotkey where the desktop has hotkeys, and names it (or
    // why there is none) in the window.
    void RegisterTheHotkey(const SettingsFile& settings);
    // Says in the lamp's tooltip what tracking cannot do on this desktop.
    void NoteTrackingLimits();
    bool IsNudgeKeyForTheForm(QObject* watched, QEvent* event) const;
    bool HandOnHotkeyPressedInAPopup(QEvent* event);

    Form1& form_;
    // What the controller asks of the desktop itself; the handlers get
    // their own roles.
    GlobalHotkeys& hotkeys_;
    DesktopEvents& events_;
    std::string applicationFolder_;
    // Before the handlers, which read it as they are built.
    DesktopAbilities abilities_;
    WindowState state_;
    TrackingControls tracking_;
    OffsetControls offset_;
    LookupControls lookup_;
    ColorSlotControls colorSlots_;
    CursorPanelControls cursorPanel_;
    WindowPanelControls windowPanel_;
    ClipboardControls clipboard_;
    std::unique_ptr<QtDesktopEventLoop> desktopEvents_;
    bool started_ = false;
    bool shutDown_ = false;
    bool slotStored_ = false;
};

} // namespace huegrab
