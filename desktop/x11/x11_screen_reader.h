#pragma once

#include "desktop/desktop_services.h"
#include "desktop/x11/x11_pixel_format.h"
#include "desktop/x11/x11_shm_image.h"

#include <X11/Xlib.h>
#include <cstdint>
#include <functional>
#include <memory>
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

private:
    bool ReadIntersection(PixelBlock& block, int left, int top, int width, int height);
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
};

} // namespace huegrab::x11
