// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>
#include <QTextLayout>
#include <memory>

namespace huegrab {

// One line of text shaped once and kept ready to draw: the readouts show a
// small set of texts ("0" to "255", "00" to "FF", coordinates) over and over,
// and shaping is most of what drawing a short text costs.
struct ShapedLine {
    QTextLayout layout;     // one line at (0, 0); its glyphs are kept
    int naturalWidth = 0;   // whole pixels, rounded as a line edit rounds it
    int ascent = 0;         // of the line, whole pixels
    int boundingHeight = 0; // of the glyphs' fonts, as QFontMetrics::boundingRect gives it
};

// Shapes `text` as a single-line field shows it: control characters become
// spaces, trailing spaces count, the direction follows the text.
std::shared_ptr<const ShapedLine> ShapeLine(const QFont& font, const QString& text);

// The same, from a cache of recently shaped short texts per font.
std::shared_ptr<const ShapedLine> CachedShapedLine(const QFont& font, const QString& text);

} // namespace huegrab
