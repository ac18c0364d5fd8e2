// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/sampling_tick.h"

#include "sampling/first_key_down.h"
#include "text/number_text.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace huegrab {

namespace {

// Coordinates are 32-bit; sums near the limits saturate instead of wrapping,
// so a nonsense position reads as "off the screen".
std::int32_t Saturate(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The first key found down in this order acts; the others wait.
constexpr int kNudgeKeys[] = {vk::kUp, vk::kLeft, vk::kDown, vk::kRight};

// True when a key moved the pointer.
bool NudgeWithArrowKeys(PointerAndKeyboard& input, ScreenPoint pointer, std::uint32_t keysDown) {
    static constexpr int kDx[] = {0, -1, 0, 1};
    static constexpr int kDy[] = {-1, 0, 1, 0};
    const std::optional<std::size_t> key = FirstKeyDown(keysDown, std::size(kNudgeKeys));
    if (!key)
        return false;
    input.SetCursorPos(Saturate(std::int64_t{pointer.x} + kDx[*key]),
                       Saturate(std::int64_t{pointer.y} + kDy[*key]));
    return true;
}

std::string PickedCoordinate(std::int32_t sampled, bool relative, const std::string& origin) {
    if (!relative)
        return DecimalText(sampled);
    return FormatShortestDouble(static_cast<double>(sampled) - ReadLeadingNumber(origin));
}

} // namespace

TickResult RunSamplingTick(PointerAndKeyboard& input, ScreenPixels& screen,
                           const TickInputs& inputs) {
    TickResult result;

    // One read of the pointer and the keyboard together.
    const PointerAndKeys read = input.ReadPointerAndKeys(kNudgeKeys);
    const ScreenPoint pointer = read.position.value_or(ScreenPoint{});
    result.pointer = pointer;
    // An unread position (0, 0 in the readouts) is no place to nudge from:
    // moving from it would pull the pointer to the screen's corner.
    result.nudged = read.position && NudgeWithArrowKeys(input, pointer, read.keysDown);
    // Later steps keep the position read above: a nudge shows one tick later.
    result.rawPosition = "x:" + DecimalText(pointer.x) + "  y:" + DecimalText(pointer.y);

    const std::int32_t sx = Saturate(std::int64_t{pointer.x} + inputs.pickOffset);
    const std::int32_t sy = Saturate(std::int64_t{pointer.y} + inputs.pickOffset);
    result.pickedX = PickedCoordinate(sx, inputs.relativeToOrigin, inputs.originX);
    result.pickedY = PickedCoordinate(sy, inputs.relativeToOrigin, inputs.originY);

    // One read covers the sample point (the centre) and the whole magnifier.
    constexpr int kHalf = kMagnifierSide / 2;
    const PixelBlock block =
        screen.ReadBlock(Saturate(std::int64_t{sx} - kHalf), Saturate(std::int64_t{sy} - kHalf),
                         kMagnifierSide, kMagnifierSide);
    result.sampled = block.At(sx, sy);
    if (result.sampled < 0)
        result.sampled = kInvalidColor;
    result.swatch = result.sampled < 0 ? 0 : result.sampled;
    result.color = MakeColorTexts(MakeColorSample(sx, sy, result.sampled));

    for (int row = 0; row < kMagnifierSide; ++row) {
        for (int column = 0; column < kMagnifierSide; ++column) {
            const std::int64_t x = std::int64_t{sx} - kHalf + column;
            const std::int64_t y = std::int64_t{sy} - kHalf + row;
            const bool representable = x == Saturate(x) && y == Saturate(y);
            const ColorValue value = representable ? block.At(Saturate(x), Saturate(y)) : -1;
            result.magnifier[static_cast<std::size_t>(row * kMagnifierSide + column)] =
                value < 0 ? 0 : value;
        }
    }
    return result;
}

} // namespace huegrab
