// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/translation.h"

#include <QCoreApplication>
#include <QString>
#include <QTranslator>
#include <memory>

namespace huegrab {

bool InstallEnglishCaptions(QCoreApplication& application) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral(":/i18n/huegrab_en.qm")) ||
        !QCoreApplication::installTranslator(translator.get()))
        return false;
    // The application owns it from here on, and outlives every window.
    translator.release()->setParent(&application);
    return true;
}

} // namespace huegrab
