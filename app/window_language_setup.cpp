// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_language_setup.h"

#include "app/form/translation.h"
#include "app/window_language.h"
#include "platform/utf8_path.h"
#include "settings/settings_file.h"
#include "settings/settings_path.h"

#include <QApplication>
#include <QLocale>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace huegrab {
namespace {

std::optional<std::string> Variable(const char* name) {
    if (const char* value = std::getenv(name))
        return std::string(value);
    return std::nullopt;
}

LocaleVariables ProcessLocale() {
    LocaleVariables locale{Variable("LANGUAGE"), Variable("LC_ALL"), Variable("LC_MESSAGES"),
                           Variable("LANG")};
#ifdef Q_OS_WIN
    // Seldom set on Windows: the user's display language stands in for LANG.
    if (!locale.lcAll && !locale.lcMessages && !locale.lang)
        locale.lang = QLocale::system().name().toStdString();
#endif
    return locale;
}

// The same file the colour slots read, with the same earlier copy.
std::string LanguageSetting(const std::string& applicationFolder) {
    const std::string path = SettingsPath(applicationFolder);
    const std::string beside = SettingsPathBesideProgram(applicationFolder);
    const std::filesystem::path earlier =
        beside != path ? platform::PathFromUtf8(beside) : std::filesystem::path();
    const SettingsFile file(platform::PathFromUtf8(path), earlier);
    return file.ReadSetting("Window", "Language");
}

} // namespace

void SetUpWindowLanguage(QApplication& application, int argc, const char* const* argv,
                         const std::string& applicationFolder) {
    LanguageChoice choice{LanguageOption(argc, argv), LanguageSetting(applicationFolder),
                          ProcessLocale()};
    if (choice.commandLine && !ParseLanguageName(*choice.commandLine))
        std::fprintf(stderr, "huegrab: --lang takes zh or en, not \"%s\"\n",
                     choice.commandLine->c_str());
    if (ChooseWindowLanguage(choice) == WindowLanguage::English &&
        !InstallEnglishCaptions(application))
        std::fputs("huegrab: the English captions could not be loaded\n", stderr);
}

} // namespace huegrab
