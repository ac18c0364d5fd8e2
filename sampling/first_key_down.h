// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace huegrab {

// The index of the first of `count` keys that is down in a KeysPressed
// result; nullopt when none is.
std::optional<std::size_t> FirstKeyDown(std::uint32_t down, std::size_t count);

} // namespace huegrab
