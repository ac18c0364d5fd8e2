#include "app/qt_shell.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QString>
#include <QUrl>

namespace huegrab {

std::string QtShell::ClipboardText() {
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard).toStdString();
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
