// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window_controller.h"

#include "app/form/form1.h"
#include "app/window_notes.h"
#include "platform/utf8_path.h"
#include "settings/settings_path.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace huegrab {

namespace {

// The running controller, for the exit hook; null before Startup and after
// a normal shutdown.
MainWindowController* g_running = nullptr;

// When the X connection breaks, the toolkit (or Xlib) ends the process with
// exit() from inside the event loop: no window close, no shutdown step. The
// focused slot is still stored then; nothing else is attempted, since every
// desktop call would meet the dead connection.
void StoreSlotOnAbruptExit() {
    if (g_running != nullptr)
        g_running->StoreFocusedSlotOnly();
}

} // namespace

MainWindowController::MainWindowController(Form1& form, DesktopServices& desktop,
                                           std::string applicationFolder)
    : form_(form), hotkeys_(desktop), events_(desktop),
      applicationFolder_(std::move(applicationFolder)), abilities_(desktop),
      tracking_(form, desktop, desktop, desktop, state_, abilities_), offset_(form, state_),
      lookup_(form, desktop), colorSlots_(form, state_),
      cursorPanel_(form, desktop, desktop, desktop, abilities_),
      windowPanel_(form, desktop, desktop, form.Shell(), abilities_),
      clipboard_(form, desktop, form.Shell()) {
    // The later steps of the tick, in their order: the cursor code, then the
    // window under the pointer.
    tracking_.AddTickStep([this](const TickResult&) { cursorPanel_.TickStep(); });
    tracking_.AddTickStep(
        [this](const TickResult& tick) { windowPanel_.LiveProbeStep(tick.pointer, tick.nudged); });
    form_.installEventFilter(this);
    // Key presses go to the focused control, not the form: watch them all.
    qApp->installEventFilter(this);
}

MainWindowController::~MainWindowController() {
    if (g_running == this)
        g_running = nullptr;
    form_.removeEventFilter(this);
    qApp->removeEventFilter(this);
    if (started_ && !shutDown_)
        Shutdown();
}

void MainWindowController::Startup() {
    state_.trackingState = TrackingState::Stopped;

    state_.settingsPath = SettingsPath(applicationFolder_);
    if (const std::string beside = SettingsPathBesideProgram(applicationFolder_);
        beside != state_.settingsPath)
        state_.earlierSettingsPath = beside;
    const SettingsFile settings(platform::PathFromUtf8(state_.settingsPath),
                                platform::PathFromUtf8(state_.earlierSettingsPath));

    // Hotkey presses reach the start/stop switch; nothing else of the
    // window is intercepted.
    hotkeys_.SetHotkeyHandler([this](const HotkeyPress& press) { tracking_.HandleHotkey(press); });
    WatchDesktopEvents();
    RegisterTheHotkey(settings);

    form_.Controls().cursor.method->setCurrentIndex(0);
    state_.focusedColorSlot = 0;
    NoteSettingsProblems(settings);
    NoteTrackingLimits();
    colorSlots_.Restore();
    started_ = true;

    static const bool exitHookRegistered = std::atexit(StoreSlotOnAbruptExit) == 0;
    (void)exitHookRegistered;
    g_running = this;
}

void MainWindowController::RegisterTheHotkey(const SettingsFile& settings) {
    const HotkeyKeys keys = HotkeyFromSettings(settings);
    state_.hotkey = HotkeyBinding{};
    state_.hotkey.modifiers = keys.modifiers;
    state_.hotkey.virtualKey = keys.virtualKey;
    // Without the hotkey (another program holds it, or the desktop has no
    // hotkeys) the check box still works.
    if (const auto& whyNot = abilities_.WhyNot(DesktopAbility::Hotkeys)) {
        state_.hotkeyRegistered = false;
        ShowHotkeyNotOffered(form_.Controls().tracking, keys, *whyNot);
        return;
    }
    state_.hotkeyRegistered = hotkeys_.RegisterHotKey(state_.hotkey.id, state_.hotkey.modifiers,
                                                      state_.hotkey.virtualKey);
    ShowHotkeyState(form_.Controls().tracking, keys, state_.hotkeyRegistered);
}

void MainWindowController::NoteTrackingLimits() {
    const TrackingView& view = form_.Controls().tracking;
    if (tracking_.PicksByClick()) {
        NoteTrackingByClick(view); // nothing to nudge either
        return;
    }
    if (const auto& whyNot = abilities_.WhyNot(DesktopAbility::ReadPointer)) {
        // Said alone: without the pointer's position there is nothing to nudge.
        NoteTrackingNotOffered(view, *whyNot);
        return;
    }
    if (const auto& whyNot = abilities_.WhyNot(DesktopAbility::MovePointer))
        NoteNudgeNotOffered(view, *whyNot);
}

HotkeyKeys MainWindowController::HotkeyFromSettings(const SettingsFile& settings) {
    constexpr HotkeyKeys kDefault{hotkey_mod::kAlt, vk::kOem3};
    const std::string text = settings.ReadSetting(kHotkeySection, kHotkeyKey);
    if (text.empty())
        return kDefault;
    if (const std::optional<HotkeyKeys> keys = ParseHotkeyText(text))
        return *keys;
    std::fprintf(stderr,
                 "huegrab: [Hotkey] Key=%s in config.ini names no key combination; using "
                 "Alt+TLDE, the key left of 1\n",
                 text.c_str());
    return kDefault;
}

void MainWindowController::NoteSettingsProblems(const SettingsFile& settings) {
    const TrackingView& view = form_.Controls().tracking;
    if (settings.WhyNotWritable()) {
        NoteSettingsNotWritable(view, state_.settingsPath);
        return;
    }
    // The first session after the program's folder became read-only: the
    // slots kept beside it are read from there and move on the first save.
    std::error_code ignored;
    if (!state_.earlierSettingsPath.empty() &&
        std::filesystem::is_regular_file(platform::PathFromUtf8(state_.earlierSettingsPath),
                                         ignored) &&
        !std::filesystem::exists(platform::PathFromUtf8(state_.settingsPath), ignored))
        NoteSettingsMoved(view, state_.settingsPath);
}

void MainWindowController::CloseWhenTheWindowIsDestroyed() {
    // Queued: the report comes from inside the desktop's event dispatch,
    // whose hooks the shutdown removes.
    events_.WatchWindowDestroyed(static_cast<WindowHandle>(form_.winId()), [this] {
        QTimer::singleShot(0, &form_, [this] { form_.close(); });
    });
}

void MainWindowController::Shutdown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    // The timer stops first, so no tick runs while or after values are stored.
    tracking_.StopTicking();
    hotkeys_.SetHotkeyHandler(nullptr);
    events_.WatchWindowDestroyed(0, nullptr);
    // A broken X connection ends the process inside this call; the exit hook
    // stays armed until the slot is stored, so it is stored then as well.
    hotkeys_.UnregisterHotKey(state_.hotkey.id);
    state_.hotkeyRegistered = false;
    desktopEvents_.reset();
    StoreFocusedSlotOnly();
}

void MainWindowController::StoreFocusedSlotOnly() {
    if (slotStored_)
        return;
    slotStored_ = true;
    shutDown_ = true;
    g_running = nullptr;
    colorSlots_.SaveFocused();
}

void MainWindowController::WatchDesktopEvents() {
    desktopEvents_ = std::make_unique<QtDesktopEventLoop>();
    events_.AttachEventLoop(*desktopEvents_);
}

bool MainWindowController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &form_ && event->type() == QEvent::Close)
        Shutdown(); // closing is never refused
    if (IsNudgeKeyForTheForm(watched, event) || HandOnHotkeyPressedInAPopup(event))
        return true;
    return QObject::eventFilter(watched, event);
}

bool MainWindowController::HandOnHotkeyPressedInAPopup(QEvent* event) {
    // While a pop-up of the program (a drop-down's list) holds the keyboard,
    // the hotkey's press comes here instead of through the desktop. It is
    // the hotkey all the same; the pop-up does not see it.
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const std::optional<HotkeyPress> press =
        hotkeys_.HotkeyOfKeyPress(key->nativeScanCode(), key->nativeModifiers());
    if (!press)
        return false;
    if (!key->isAutoRepeat()) // one toggle per press, as through the desktop
        tracking_.HandleHotkey(*press);
    return true;
}

bool MainWindowController::IsNudgeKeyForTheForm(QObject* watched, QEvent* event) const {
    // While tracking runs the arrow keys nudge the pointer (the tick reads
    // them from the desktop); inside the window they must not also move the
    // focus, or the next Space would go to another control than Check1.
    if (state_.trackingState != TrackingState::Running)
        return false;
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease &&
        event->type() != QEvent::ShortcutOverride)
        return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        break;
    default:
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget != nullptr && widget->window() == &form_;
}

} // namespace huegrab
