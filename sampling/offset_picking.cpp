// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/offset_picking.h"

#include "text/number_text.h"

namespace huegrab {

void OffsetPicking::SetEnabled(bool enabled) {
    enabled_ = enabled;
    pickOffset_ = static_cast<std::int16_t>(enabled ? amount_ : 0);
}

bool OffsetPicking::Increase() {
    if (amount_ >= kMaximum)
        return false;
    ++amount_;
    if (enabled_)
        pickOffset_ = static_cast<std::int16_t>(amount_);
    return true;
}

bool OffsetPicking::Decrease() {
    if (amount_ <= kMinimum)
        return false;
    --amount_;
    if (enabled_)
        pickOffset_ = static_cast<std::int16_t>(amount_);
    return true;
}

std::string OffsetPicking::Caption() const {
    return DecimalText(amount_);
}

} // namespace huegrab
