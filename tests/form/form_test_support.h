// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form/form1.h"
#include "app/form/readout_field.h"
#include "app/form/readout_label.h"
#include "desktop/fake/fake_shell.h"

#include <QLineEdit>
#include <QString>
#include <QWidget>
#include <optional>
#include <string>
#include <string_view>

namespace huegrab::testing_support {

// Twips to logical pixels, rounded: the unit conversion the window promises.
inline int Px(int twips) {
    return (twips + 7) / 15;
}

inline QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// "name(index)" or "name" for messages.
inline std::string Label(const char* name, int index) {
    return index < 0 ? std::string(name) : std::string(name) + "(" + std::to_string(index) + ")";
}

// The text of a single-line field of either kind; nullopt when there is none.
inline std::optional<QString> FieldTextOf(const Form1& form, std::string_view name) {
    if (const QLineEdit* edit = form.Field(name))
        return edit->text();
    if (const ReadoutField* readout = form.Readout(name))
        return readout->text();
    return std::nullopt;
}

// Sets a field's text as the program would; false when there is no such field.
inline bool SetFieldTextOf(const Form1& form, std::string_view name, const QString& text) {
    if (QLineEdit* edit = form.Field(name)) {
        edit->setText(text);
        return true;
    }
    if (ReadoutField* readout = form.Readout(name)) {
        readout->setText(text);
        return true;
    }
    return false;
}

// A main window over a fake shell.
struct FormFixture {
    FakeShell shell;
    Form1 form{shell};
};

} // namespace huegrab::testing_support
