// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_language.h"

#include "text/ascii_case.h"

namespace huegrab {
namespace {

bool IsSet(const std::optional<std::string>& value) {
    return value && !value->empty();
}

// "C", "POSIX", "C.UTF-8", "C.utf8": the locale of no language.
bool IsPlainLocale(std::string_view name) {
    const std::string_view base = name.substr(0, name.find_first_of(".@"));
    return base == "C" || base == "POSIX";
}

WindowLanguage LanguageOfLocaleName(std::string_view name) {
    if (name.empty() || IsPlainLocale(name))
        return WindowLanguage::Chinese;
    return AsciiLower(name.substr(0, 2)) == "zh" ? WindowLanguage::Chinese
                                                 : WindowLanguage::English;
}

// The first entry of a LANGUAGE list that is not empty.
std::string_view FirstListed(std::string_view list) {
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        const std::string_view entry = list.substr(0, colon);
        if (!entry.empty())
            return entry;
        if (colon == std::string_view::npos)
            break;
        list.remove_prefix(colon + 1);
    }
    return {};
}

} // namespace

std::optional<WindowLanguage> ParseLanguageName(std::string_view name) {
    const std::string lower = AsciiLower(name);
    if (lower == "zh")
        return WindowLanguage::Chinese;
    if (lower == "en")
        return WindowLanguage::English;
    return std::nullopt;
}

WindowLanguage LanguageOfLocale(const LocaleVariables& locale) {
    std::string_view name;
    for (const auto* variable : {&locale.lcAll, &locale.lcMessages, &locale.lang}) {
        if (IsSet(*variable)) {
            name = **variable;
            break;
        }
    }
    if (!name.empty() && !IsPlainLocale(name) && IsSet(locale.language)) {
        if (const std::string_view listed = FirstListed(*locale.language); !listed.empty())
            name = listed;
    }
    return LanguageOfLocaleName(name);
}

WindowLanguage ChooseWindowLanguage(const LanguageChoice& choice) {
    if (choice.commandLine) {
        if (const auto language = ParseLanguageName(*choice.commandLine))
            return *language;
    }
    if (const auto language = ParseLanguageName(choice.setting))
        return *language;
    return LanguageOfLocale(choice.locale);
}

std::optional<std::string> LanguageOption(int argc, const char* const* argv) {
    constexpr std::string_view kOption = "--lang";
    std::optional<std::string> value;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == kOption) {
            value = i + 1 < argc ? std::string(argv[++i]) : std::string();
        } else if (argument.starts_with(kOption) && argument[kOption.size()] == '=') {
            value = std::string(argument.substr(kOption.size() + 1));
        }
    }
    return value;
}

} // namespace huegrab
