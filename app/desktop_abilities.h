// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_ability.h"

#include <array>
#include <initializer_list>
#include <optional>
#include <string>

namespace huegrab {

class DesktopServices;

// What the desktop cannot do at all, asked once as the window starts. The
// handlers ask here before they show an answer: a desktop that lacks an
// ability still answers its calls (no position, window 0), and such an
// answer must never reach a field as if it were a reading.
class DesktopAbilities {
public:
    explicit DesktopAbilities(DesktopServices& desktop);

    // nullopt when offered, else the desktop's line for a person saying why
    // not (English, as the backend gives it).
    const std::optional<std::string>& WhyNot(DesktopAbility ability) const;
    // The line of the first of `needed` the desktop lacks.
    std::optional<std::string> WhyNotAll(std::initializer_list<DesktopAbility> needed) const;
    bool Offers(DesktopAbility ability) const { return !WhyNot(ability).has_value(); }

private:
    // Every ability, counted from ReadPointer up to CursorImage, the last.
    static_assert(static_cast<int>(DesktopAbility::ReadPointer) == 0);
    static constexpr std::size_t kCount = static_cast<std::size_t>(DesktopAbility::CursorImage) + 1;
    std::array<std::optional<std::string>, kCount> whyNot_;
};

} // namespace huegrab
