// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/png_screenshot.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <png.h>

namespace huegrab::wayland {
namespace {

struct PngImageFree {
    void operator()(png_image* image) const { png_image_free(image); }
};

// A screen larger than this is no screenshot but a broken or hostile file:
// its pixels would not fit in memory anyway.
constexpr std::uint64_t kMostPixels = std::uint64_t{1} << 28;

} // namespace

std::optional<PixelBlock> ReadPngScreenshot(const std::string& path, std::string& whyNot) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    // Frees libpng's reading state on every way out, once begun.
    std::unique_ptr<png_image, PngImageFree> owner(&image);
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        whyNot = "cannot read the screenshot " + path + ": " + image.message;
        return std::nullopt;
    }
    if (image.width == 0 || image.height == 0 ||
        std::uint64_t{image.width} * image.height > kMostPixels ||
        image.width > std::uint32_t{std::numeric_limits<std::int32_t>::max()} ||
        image.height > std::uint32_t{std::numeric_limits<std::int32_t>::max()}) {
        whyNot = "the screenshot " + path + " has no usable size";
        return std::nullopt;
    }
    // Any PNG form (grey, palette, 16-bit) comes out as 8-bit RGBA. A
    // screenshot is opaque: its alpha is not looked at.
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        whyNot = "cannot read the screenshot " + path + ": " + image.message;
        return std::nullopt;
    }
    PixelBlock screen;
    screen.width = static_cast<std::int32_t>(image.width);
    screen.height = static_cast<std::int32_t>(image.height);
    screen.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    for (std::size_t i = 0; i < screen.pixels.size(); ++i) {
        const png_byte* p = &rgba[i * 4];
        screen.pixels[i] =
            static_cast<ColorValue>(std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0]);
    }
    return screen;
}

PixelBlock CutBlock(const PixelBlock& screen, std::int32_t left, std::int32_t top,
                    std::int32_t width, std::int32_t height) {
    PixelBlock block{left, top, width, height, {}};
    block.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    // 64-bit coordinates: a block reaching past INT32_MAX holds no screen
    // pixel there, and must not wrap onto one.
    for (std::int64_t y = top; y < std::int64_t{top} + height; ++y) {
        for (std::int64_t x = left; x < std::int64_t{left} + width; ++x) {
            const bool inside = x <= std::numeric_limits<std::int32_t>::max() &&
                                y <= std::numeric_limits<std::int32_t>::max();
            block.pixels.push_back(
                inside ? screen.At(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y))
                       : kInvalidColor);
        }
    }
    return block;
}

} // namespace huegrab::wayland
