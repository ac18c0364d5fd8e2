// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/screen_pixels.h"
#include "desktop/x11/x11_pixel_format.h"
#include "desktop/x11/x11_shm_image.h"

#include <X11/Xlib.h>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace huegrab::x11 {

// Reads root-window pixels as 0x00BBGGRR. Only the part of a request that
// lies on the root is asked of the server, so a point off the screen reads
// kInvalidColor and never causes an X error.
class ScreenReader {
public:
    ScreenReader(Display* display, Window root);

    PixelBlock Read(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);

    // The same pixels as Read, handed over strip by strip until `take`
    // returns false: a whole screen costs one strip's memory.
    using StripTaker = std::function<bool(const PixelBlock& strip)>;
    void ReadStrips(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
                    const StripTaker& take);

    int RootWidth() const { return rootWidth_; }
    int RootHeight() const { return rootHeight_; }
    // The root's size as a ConfigureNotify on it reported.
    void SetRootSize(int width, int height);
    // Asks the server for the root's size.
    void RefreshRootSize();

    // The next small read usually lies at or near the last one (the pointer
    // held still or moved a little): AskLeadBlock sends a read of the last
    // block with a margin around it at once, to go out with the pointer
    // query, and a Read that lies within it takes its part of the answer
    // instead of asking again. A lead serves one Read; DropLeadBlock lets
    // an unused one go, and then no lead is asked until a block is read.
    void AskLeadBlock();
    void DropLeadBlock();

private:
    struct Rect {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        friend bool operator==(const Rect&, const Rect&) = default;
        bool Contains(const Rect& inner) const {
            return inner.left >= left && inner.top >= top &&
                   inner.left + inner.width <= left + width &&
                   inner.top + inner.height <= top + height;
        }
    };
    bool ReadIntersection(PixelBlock& block, int left, int top, int width, int height);
    // The lead's answer for a read of `rect`, put into the block; false
    // when there is none for it or the server refused it.
    bool TakeLeadBlock(PixelBlock& block, const Rect& rect);
    // Lets the lead's answer go unread.
    void DiscardLeadBlock();
    // Puts an image read at (left, top) into the block.
    void ConvertImage(XImage& image, PixelBlock& block, int left, int top);
    void ConvertThroughColormap(XImage& image, PixelBlock& block, int left, int top);

    Display* display_;
    Window root_;
    Visual* visual_ = nullptr;
    Colormap colormap_ = None;
    ChannelConverter converter_;
    int rootWidth_ = 0;
    int rootHeight_ = 0;
    // Reused between reads of a colour-mapped screen.
    std::vector<XColor> colors_;
    // Large reads go through shared memory where the server offers it.
    int depth_ = 0;
    std::unique_ptr<ShmImageReader> shm_;
    int scanlinePad_ = 32; // of images of the root's depth, as the server sends them
    std::optional<Rect> lastSmallRead_;
    struct LeadBlock {
        Rect rect;
        unsigned sequence = 0;
    };
    std::optional<LeadBlock> lead_;
};

} // namespace huegrab::x11
