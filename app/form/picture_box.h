// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_model.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace huegrab {

// A bordered box that shows, inside a one-pixel border, its background
// colour, then a picture (an icon set by the program) at the top-left, then a
// persistent drawing on top. The drawing survives hiding and repainting, and
// its pixels are device pixels: on a scaled desktop a 32 x 32 cursor image
// drawn 1:1 covers 32 x 32 screen pixels, and pixel (x, y) is one screen
// pixel. The background is the colour given by SetBackColor (form_colors.h).
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // The drawing's size in device pixels: the inside of the border.
    QSize CanvasSize() const;

    // Empties the drawing, so the background and the picture show again.
    void Clear();
    // Paints one pixel of the drawing; points outside are ignored.
    void SetPixel(int x, int y, ColorValue value);
    // Draws an image onto the drawing with its top-left at (x, y), composing
    // its alpha channel over what is there.
    void DrawImage(int x, int y, const QImage& image);
    // What the box shows at pixel (x, y) of the drawing: drawing over
    // picture over background; -1 outside.
    ColorValue Pixel(int x, int y) const;
    // The whole inside as shown, one pixel per device pixel.
    QImage Snapshot() const;

    void SetPicture(const QPixmap& picture);
    void ClearPicture();
    const QPixmap& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Makes the drawing match the box's inside at the current pixel ratio,
    // keeping what is drawn.
    void EnsureCanvas() const;

    mutable QImage canvas_; // premultiplied ARGB, transparent where nothing is drawn
    QPixmap picture_;
};

} // namespace huegrab
