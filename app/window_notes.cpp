// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_notes.h"

#include "app/form/form_controls.h"
#include "app/form/readout_label.h"
#include "app/form/translation.h"
#include "desktop/global_hotkeys.h"
#include "desktop/pointer_and_keyboard.h"

#include <QCoreApplication>
#include <QLabel>
#include <QString>

namespace huegrab {
namespace {

// The caption the layout gives the default hotkey; kept as it is while that
// hotkey works.
constexpr HotkeyKeys kLayoutHotkey{hotkey_mod::kAlt, vk::kOem3};

QString Translated(const char* text) {
    return QCoreApplication::translate(kFormContext, text);
}

void AddLampLine(const TrackingView& view, const QString& line) {
    const QString before = view.lamp->toolTip();
    view.lamp->setToolTip(before.isEmpty() ? line : before + QStringLiteral("\n") + line);
}

} // namespace

void ShowHotkeyState(const TrackingView& view, const HotkeyKeys& keys, bool registered) {
    const QString name = QString::fromStdString(HotkeyDisplayName(keys));
    if (registered) {
        view.lamp->setToolTip(Translated(QT_TRANSLATE_NOOP("Form1", "%1 启动/停止")).arg(name));
        if (keys != kLayoutHotkey)
            view.hotkeyCaption->setText(
                Translated(QT_TRANSLATE_NOOP("Form1", "[%1]启动／停止")).arg(name));
        view.hotkeyCaption->setToolTip(QString());
        return;
    }
    view.lamp->setToolTip(
        Translated(QT_TRANSLATE_NOOP(
                       "Form1", "热键 %1 已被其他程序占用，没有热键：请点“启动／停止”复选框。"))
            .arg(name));
    view.hotkeyCaption->setText(Translated(QT_TRANSLATE_NOOP("Form1", "[%1]已被占用")).arg(name));
    view.hotkeyCaption->setToolTip(
        Translated(
            QT_TRANSLATE_NOOP("Form1",
                              "热键 %1 已被其他程序占用（GNOME、KDE 默认用它切换同一程序的窗口）。"
                              "可在桌面的快捷键设置里释放它，或在 config.ini 的 [Hotkey] 下用 Key= "
                              "换一个键，例如 Key=Ctrl+Shift+F9。"))
            .arg(name));
}

void ShowHotkeyNotOffered(const TrackingView& view, const HotkeyKeys& keys,
                          const std::string& whyNot) {
    const QString name = QString::fromStdString(HotkeyDisplayName(keys));
    // One pass over both: the desktop's words are text, whatever they hold.
    const QString why = Translated(QT_TRANSLATE_NOOP("Form1", "热键 %1：%2"))
                            .arg(name, QString::fromStdString(whyNot));
    view.lamp->setToolTip(
        Translated(QT_TRANSLATE_NOOP("Form1", "没有热键：请点“启动／停止”复选框。")) +
        QStringLiteral("\n") + why);
    view.hotkeyCaption->setText(Translated(QT_TRANSLATE_NOOP("Form1", "[%1]不可用")).arg(name));
    view.hotkeyCaption->setToolTip(why);
}

QString NotOfferedLine(const char* leadIn, const std::string& whyNot) {
    return Translated(leadIn).arg(QString::fromStdString(whyNot));
}

void NoteSettingsNotWritable(const TrackingView& view, const std::string& path) {
    AddLampLine(
        view, Translated(QT_TRANSLATE_NOOP("Form1", "设置文件 %1 不能写入：本次的颜色槽不会保存。"))
                  .arg(QString::fromStdString(path)));
}

void NoteSettingsMoved(const TrackingView& view, const std::string& newPath) {
    AddLampLine(view,
                Translated(QT_TRANSLATE_NOOP("Form1", "程序所在的文件夹不能写入，设置从此保存在 %1"
                                                      "（原来的颜色槽会一并带过去）。"))
                    .arg(QString::fromStdString(newPath)));
}

void NoteTrackingNotOffered(const TrackingView& view, const std::string& whyNot) {
    const QString line = NotOfferedLine(QT_TRANSLATE_NOOP("Form1", "跟踪不能跟随鼠标：%1"), whyNot);
    AddLampLine(view, line);
    view.rawPosition->setToolTip(line); // the position that stays as it is
}

void NoteTrackingByClick(const TrackingView& view) {
    const QString line = Translated(QT_TRANSLATE_NOOP(
        "Form1",
        "这里读不到鼠标位置：启动后请在屏幕上点一下要取色的点（Esc 取消），读完自动停止。"));
    AddLampLine(view, line);
    view.rawPosition->setToolTip(line);
}

void NoteNudgeNotOffered(const TrackingView& view, const std::string& whyNot) {
    AddLampLine(view, NotOfferedLine(QT_TRANSLATE_NOOP("Form1", "方向键不能微移鼠标：%1"), whyNot));
}

} // namespace huegrab
