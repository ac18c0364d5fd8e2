// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/blank_text.h"

namespace huegrab {

std::string_view TrimBlanks(std::string_view text, std::string_view blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace huegrab
