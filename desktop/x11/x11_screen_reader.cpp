// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_screen_reader.h"

#include "desktop/x11/x11_error_trap.h"
#include "desktop/x11/x11_resources.h"
#include "desktop/x11/x11_xcb_reply.h"

#include <X11/Xlib-xcb.h>
#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <sys/mman.h>

namespace huegrab::x11 {
namespace {

// A read bigger than this is a caller's mistake, not a screen area.
constexpr std::int64_t kMaxBlockPixels = std::int64_t{1} << 24;
// From this size on a read goes through shared memory: a whole screen
// then costs no transfer over the connection. Small reads (the tick's
// block) are cheaper without setting up a segment.
constexpr std::int64_t kShmMinPixels = 256 * 256;
// How far around the last small read a lead read reaches: a pointer moving
// up to this far between two ticks finds its block already read.
constexpr int kLeadMargin = 16;

// Only TrueColor pixels carry their colour in the channel masks: on a
// DirectColor screen each channel is an index into that channel's colour
// map, so those pixels go through the colour map as mapped screens' do.
ChannelConverter ConverterFor(const Visual* visual) {
    if (!visual || visual->c_class != TrueColor)
        return ChannelConverter(0, 0, 0);
    return ChannelConverter(static_cast<std::uint32_t>(visual->red_mask),
                            static_cast<std::uint32_t>(visual->green_mask),
                            static_cast<std::uint32_t>(visual->blue_mask));
}

// n pixels of kInvalidColor. A whole screen is megabytes of fresh memory:
// asking for huge pages turns thousands of page faults into a handful.
void FillInvalid(std::vector<ColorValue>& pixels, std::size_t n) {
#ifdef MADV_HUGEPAGE
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    if (n * sizeof(ColorValue) >= 2 * kHugePage && pixels.capacity() < n) {
        pixels = {};
        pixels.reserve(n);
        const auto start = reinterpret_cast<std::uintptr_t>(pixels.data());
        const auto end = start + n * sizeof(ColorValue);
        const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
        if (first < end)
            madvise(reinterpret_cast<void*>(first), (end - first) & ~(kHugePage - 1),
                    MADV_HUGEPAGE);
    }
#endif
    pixels.assign(n, kInvalidColor);
}

bool HostIsLsbFirst() {
    return std::endian::native == std::endian::little;
}

} // namespace

ScreenReader::ScreenReader(Display* display, Window root)
    : display_(display), root_(root), converter_(0, 0, 0) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, root, &attributes)) {
        visual_ = attributes.visual;
        colormap_ = attributes.colormap;
        rootWidth_ = attributes.width;
        rootHeight_ = attributes.height;
        depth_ = attributes.depth;
    }
    converter_ = ConverterFor(visual_);
    shm_ = ShmImageReader::Create(display, visual_, depth_);
    int count = 0;
    if (XPixmapFormatValues* formats = XListPixmapFormats(display, &count)) {
        for (int i = 0; i < count; ++i) {
            if (formats[i].depth == depth_)
                scanlinePad_ = formats[i].scanline_pad;
        }
        XFree(formats);
    }
}

void ScreenReader::SetRootSize(int width, int height) {
    rootWidth_ = width;
    rootHeight_ = height;
}

void ScreenReader::RefreshRootSize() {
    XErrorTrap trap(display_);
    Window rootReturn = None;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    if (XGetGeometry(display_, root_, &rootReturn, &x, &y, &width, &height, &border, &depth)) {
        rootWidth_ = static_cast<int>(width);
        rootHeight_ = static_cast<int>(height);
    }
}

PixelBlock ScreenReader::Read(std::int32_t left, std::int32_t top, std::int32_t width,
                              std::int32_t height) {
    PixelBlock block{left, top, 0, 0, {}};
    if (width <= 0 || height <= 0 || std::int64_t{width} * height > kMaxBlockPixels)
        return block;
    block.width = width;
    block.height = height;
    FillInvalid(block.pixels, static_cast<std::size_t>(width) * static_cast<std::size_t>(height));

    if (lead_ && TakeLeadBlock(block, {left, top, width, height})) {
        // The next lead centres on this block, so that a pointer moving a
        // few pixels a tick is led on every tick, not only near where the
        // last fresh read was.
        lastSmallRead_ = Rect{left, top, width, height};
        return block;
    }
    DiscardLeadBlock();
    for (int attempt = 0; attempt < 2; ++attempt) {
        // 64-bit edges: left + width may pass the 32-bit range.
        const std::int64_t x0 = std::max<std::int64_t>(left, 0);
        const std::int64_t y0 = std::max<std::int64_t>(top, 0);
        const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{left} + width, rootWidth_);
        const std::int64_t y1 = std::min<std::int64_t>(std::int64_t{top} + height, rootHeight_);
        if (x0 >= x1 || y0 >= y1)
            return block;
        if (ReadIntersection(block, static_cast<int>(x0), static_cast<int>(y0),
                             static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)))
            return block;
        // The root shrank since its size was last seen: ask and try again.
        RefreshRootSize();
    }
    return block;
}

void ScreenReader::ReadStrips(std::int32_t left, std::int32_t top, std::int32_t width,
                              std::int32_t height, const StripTaker& take) {
    if (width <= 0 || height <= 0)
        return;
    std::int64_t next = top;
    const std::int64_t end = std::int64_t{top} + height;
    bool more = true;
    const bool onRoot =
        left >= 0 && top >= 0 && std::int64_t{left} + width <= rootWidth_ && end <= rootHeight_;
    if (shm_ && onRoot && std::int64_t{width} * height >= kShmMinPixels) {
        // Each strip is turned into colours in one reused block, which stays
        // in the cache while the caller looks at it.
        PixelBlock strip{left, top, width, 0, {}};
        XErrorTrap trap(display_);
        shm_->Read(root_, left, top, width, height, [&](XImage& image, int stripTop) {
            strip.top = stripTop;
            strip.height = image.height;
            strip.pixels.resize(static_cast<std::size_t>(width) *
                                static_cast<std::size_t>(image.height));
            ConvertImage(image, strip, left, stripTop);
            next = std::int64_t{stripTop} + image.height;
            more = take(strip);
            return more;
        });
    }
    // What shared memory did not read (none offered, a failure, a small or
    // partly off-screen area) comes through plain reads of bounded size.
    constexpr std::int64_t kPlainStripPixels = 1 << 16;
    const std::int64_t rowsPerStrip = std::max<std::int64_t>(1, kPlainStripPixels / width);
    // Rows past the 32-bit range are on no screen.
    while (more && next < end && next <= INT32_MAX) {
        const auto rows = static_cast<std::int32_t>(std::min(rowsPerStrip, end - next));
        more = take(Read(left, static_cast<std::int32_t>(next), width, rows));
        next += rows;
    }
}

void ScreenReader::AskLeadBlock() {
    DiscardLeadBlock();
    if (!lastSmallRead_)
        return;
    const Rect& last = *lastSmallRead_;
    const int left = std::max(0, last.left - kLeadMargin);
    const int top = std::max(0, last.top - kLeadMargin);
    const Rect rect{left, top, std::min(rootWidth_, last.left + last.width + kLeadMargin) - left,
                    std::min(rootHeight_, last.top + last.height + kLeadMargin) - top};
    if (!rect.Contains(last))
        return; // the root shrank past the last read
    xcb_connection_t* connection = XGetXCBConnection(display_);
    const xcb_get_image_cookie_t asked =
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, static_cast<xcb_drawable_t>(root_),
                      static_cast<std::int16_t>(rect.left), static_cast<std::int16_t>(rect.top),
                      static_cast<std::uint16_t>(rect.width),
                      static_cast<std::uint16_t>(rect.height), ~std::uint32_t{0});
    lead_ = LeadBlock{rect, asked.sequence};
}

void ScreenReader::DropLeadBlock() {
    // Nothing read the block this time (tracking is off): ask for none
    // until a block is read again.
    if (lead_)
        lastSmallRead_.reset();
    DiscardLeadBlock();
}

void ScreenReader::DiscardLeadBlock() {
    if (lead_)
        xcb_discard_reply(XGetXCBConnection(display_), lead_->sequence);
    lead_.reset();
}

bool ScreenReader::TakeLeadBlock(PixelBlock& block, const Rect& rect) {
    if (!lead_->rect.Contains(rect))
        return false;
    const Rect lead = lead_->rect;
    const ReplyPtr<xcb_get_image_reply_t> reply = Collect(
        XGetXCBConnection(display_), xcb_get_image_cookie_t{lead_->sequence}, xcb_get_image_reply);
    lead_.reset();
    if (!reply || reply->depth != depth_)
        return false;
    // Read as Xlib would have read it: the same image description around
    // the answer's bytes, narrowed to the part asked for. Pixels smaller
    // than a byte cannot be narrowed to; such screens read afresh.
    const auto unowned = [](XImage* image) {
        image->data = nullptr; // the reply owns the bytes
        XDestroyImage(image);
    };
    const std::unique_ptr<XImage, decltype(unowned)> whole(
        XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0,
                     reinterpret_cast<char*>(xcb_get_image_data(reply.get())),
                     static_cast<unsigned>(lead.width), static_cast<unsigned>(lead.height),
                     scanlinePad_, 0),
        unowned);
    if (!whole || whole->bits_per_pixel % 8 != 0 ||
        static_cast<std::int64_t>(xcb_get_image_data_length(reply.get())) <
            std::int64_t{whole->bytes_per_line} * lead.height)
        return false;
    const std::ptrdiff_t offset =
        static_cast<std::ptrdiff_t>(rect.top - lead.top) * whole->bytes_per_line +
        static_cast<std::ptrdiff_t>(rect.left - lead.left) * (whole->bits_per_pixel / 8);
    const std::unique_ptr<XImage, decltype(unowned)> part(
        XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0,
                     whole->data + offset, static_cast<unsigned>(rect.width),
                     static_cast<unsigned>(rect.height), scanlinePad_, whole->bytes_per_line),
        unowned);
    if (!part)
        return false;
    ConvertImage(*part, block, rect.left, rect.top);
    return true;
}

bool ScreenReader::ReadIntersection(PixelBlock& block, int left, int top, int width, int height) {
    if (shm_ && std::int64_t{width} * height >= kShmMinPixels) {
        // A trap of its own: an error of a refused shared-memory read must
        // not fail the plain read that follows.
        XErrorTrap shmTrap(display_);
        const bool read = shm_->Read(root_, left, top, width, height, [&](XImage& strip, int y) {
            ConvertImage(strip, block, left, y);
            return true;
        });
        if (read && !shmTrap.Failed())
            return true;
    }
    XErrorTrap trap(display_);
    ImagePtr image(XGetImage(display_, root_, left, top, static_cast<unsigned>(width),
                             static_cast<unsigned>(height), AllPlanes, ZPixmap));
    if (!image || trap.Failed())
        return false;
    ConvertImage(*image, block, left, top);
    // A whole block read this way is the next tick's likely read.
    const Rect read{left, top, width, height};
    if (read == Rect{block.left, block.top, block.width, block.height})
        lastSmallRead_ = read;
    return true;
}

void ScreenReader::ConvertImage(XImage& image, PixelBlock& block, int left, int top) {
    const int width = image.width;
    const int height = image.height;
    const auto rowStart = [&](int row) {
        return static_cast<std::size_t>(top + row - block.top) *
                   static_cast<std::size_t>(block.width) +
               static_cast<std::size_t>(left - block.left);
    };
    const bool nativeOrder = (image.byte_order == LSBFirst) == HostIsLsbFirst();

    if (converter_.IsRgb888() && image.bits_per_pixel == 32 && nativeOrder) {
        for (int row = 0; row < height; ++row) {
            const char* source =
                image.data + static_cast<std::ptrdiff_t>(row) * image.bytes_per_line;
            ColorValue* target = block.pixels.data() + rowStart(row);
            // Copy the row, then swap red and blue in place: a loop over one
            // array of 32-bit values, which the compiler turns into vector code.
            std::memcpy(target, source, static_cast<std::size_t>(width) * 4);
            for (int column = 0; column < width; ++column)
                target[column] =
                    ChannelConverter::FromRgb888(static_cast<std::uint32_t>(target[column]));
        }
        return;
    }
    if (converter_.HasMasks()) {
        for (int row = 0; row < height; ++row) {
            ColorValue* target = block.pixels.data() + rowStart(row);
            for (int column = 0; column < width; ++column) {
                const auto pixel = static_cast<std::uint32_t>(XGetPixel(&image, column, row));
                target[column] = converter_.ToColorValue(pixel);
            }
        }
        return;
    }
    ConvertThroughColormap(image, block, left, top);
}

// PseudoColor and other colour-mapped screens: the pixel is an index, and
// the colour map gives its colour. One XQueryColors per read.
void ScreenReader::ConvertThroughColormap(XImage& image, PixelBlock& block, int left, int top) {
    const int width = image.width;
    const int height = image.height;
    colors_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column)
            colors_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(column)]
                .pixel = XGetPixel(&image, column, row);
    }
    XErrorTrap trap(display_);
    XQueryColors(display_, colormap_, colors_.data(), static_cast<int>(colors_.size()));
    // A map that went away leaves these pixels unknown, not those of an
    // earlier read of the same block.
    const bool known = !trap.Failed();
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const XColor& color =
                colors_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                        static_cast<std::size_t>(column)];
            block.pixels[static_cast<std::size_t>(top + row - block.top) *
                             static_cast<std::size_t>(block.width) +
                         static_cast<std::size_t>(left + column - block.left)] =
                known ? static_cast<ColorValue>((color.red >> 8) | (color.green & 0xFF00u) |
                                                (static_cast<unsigned>(color.blue >> 8) << 16))
                      : kInvalidColor;
        }
    }
}

} // namespace huegrab::x11
