#pragma once

#include "app/form/form1.h"
#include "desktop/fake/fake_shell.h"

#include <QString>
#include <QWidget>
#include <string>

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

// A main window over a fake shell.
struct FormFixture {
    FakeShell shell;
    Form1 form{shell};
};

} // namespace huegrab::testing_support
