// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_shell.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>
#include <QUrl>

namespace huegrab {

std::optional<std::string> QtShell::ClipboardText() {
    // The owner is asked for its formats once. QClipboard::text() would ask
    // again for every form of text it looks for, and an owner that never
    // answers would hold the window still for the toolkit's time-out each
    // time; the text is not read from an owner that names no formats anyway.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (data == nullptr || data->formats().isEmpty())
        return std::nullopt;
    return data->text().toStdString();
}

void QtShell::SetClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text), QClipboard::Clipboard);
}

void QtShell::ClearClipboard() {
    QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
}

void QtShell::OpenUrl(const std::string& url) {
    // A desktop without a mail program simply does nothing.
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

} // namespace huegrab
