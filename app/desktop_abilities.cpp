// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop_abilities.h"

#include "desktop/desktop_services.h"

namespace huegrab {

DesktopAbilities::DesktopAbilities(DesktopServices& desktop) {
    for (std::size_t i = 0; i < kCount; ++i)
        whyNot_[i] = desktop.WhyNotOffered(static_cast<DesktopAbility>(i));
}

const std::optional<std::string>& DesktopAbilities::WhyNot(DesktopAbility ability) const {
    return whyNot_[static_cast<std::size_t>(ability)];
}

std::optional<std::string>
DesktopAbilities::WhyNotAll(std::initializer_list<DesktopAbility> needed) const {
    for (const DesktopAbility ability : needed) {
        if (const auto& whyNot = WhyNot(ability))
            return whyNot;
    }
    return std::nullopt;
}

} // namespace huegrab
