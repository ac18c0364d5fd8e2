// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace huegrab {

// The language of the window's captions: Chinese, the captions as written in
// the layout table, or English, through the built-in translation.
enum class WindowLanguage { Chinese, English };

// The locale variables, as set; nullopt (or an empty value) when unset.
struct LocaleVariables {
    std::optional<std::string> language;   // LANGUAGE: a colon-separated list
    std::optional<std::string> lcAll;      // LC_ALL
    std::optional<std::string> lcMessages; // LC_MESSAGES
    std::optional<std::string> lang;       // LANG
};

// "zh" or "en", in any case, as `--lang` and [Window] Language take them;
// nullopt for anything else.
std::optional<WindowLanguage> ParseLanguageName(std::string_view name);

// The language the locale asks for, as gettext picks the language of
// messages: the first set of LC_ALL, LC_MESSAGES and LANG names the locale;
// LANGUAGE, when set, comes before it unless that locale is C or POSIX
// (gettext ignores LANGUAGE there). A Chinese name (zh…), C, POSIX or no
// locale at all keeps the Chinese captions; any other language is English.
WindowLanguage LanguageOfLocale(const LocaleVariables& locale);

// What decides the window's language, strongest first.
struct LanguageChoice {
    std::optional<std::string> commandLine; // the value of --lang
    std::string setting;                    // [Window] Language of config.ini
    LocaleVariables locale;
};

// The command line, then the setting, then the locale; a value that names no
// language is passed over.
WindowLanguage ChooseWindowLanguage(const LanguageChoice& choice);

// The value of `--lang VALUE` or `--lang=VALUE` in argv (the last one
// counting); nullopt when absent. A `--lang` without a value gives "".
std::optional<std::string> LanguageOption(int argc, const char* const* argv);

} // namespace huegrab
