// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace huegrab {

// The diagonal sampling offset: an amount from -9 to 9 shown beside the "+"
// and "-" buttons, applied only while offset picking is switched on.
class OffsetPicking {
public:
    static constexpr int kMinimum = -9;
    static constexpr int kMaximum = 9;
    static constexpr int kStartAmount = -2;

    // Switching on applies the amount shown; switching off applies 0 and
    // keeps the amount for the next time.
    void SetEnabled(bool enabled);
    // Each returns true when the amount changed (the limits stop it).
    bool Increase();
    bool Decrease();

    bool Enabled() const { return enabled_; }
    int Amount() const { return amount_; }
    std::string Caption() const; // the amount as the label shows it
    std::int16_t PickOffset() const { return pickOffset_; }

private:
    bool enabled_ = false;
    int amount_ = kStartAmount;
    std::int16_t pickOffset_ = 0;
};

} // namespace huegrab
