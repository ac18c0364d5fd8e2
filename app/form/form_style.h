// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QProxyStyle>
#include <cstdint>
#include <map>
#include <tuple>

class QFont;
class QFontMetrics;
class QLineEdit;

namespace huegrab {

class ReadoutField;

// How far a font's ink reaches above and below the baseline, in pixels, over
// tall CJK ideographs, Latin capitals and descenders.
struct InkBand {
    int above = 0;
    int below = 0;
};
InkBand InkBandOf(const QFontMetrics& metrics);
// The same for a font at its resolution, measured once per font and kept:
// the band depends on nothing else, and measuring it takes four glyph layouts.
InkBand CachedInkBandOf(const QFont& font);

// Where item texts of `lines` lines go to have their ink centred in `rect`:
// the rectangle whose top is the first line's top, to draw from the top.
QRect InkCentredTextRect(const QFont& font, const QRect& rect, int lines);

// The application's style with two changes. Item texts (labels, buttons,
// check boxes, captions) are centred by their ink band rather than by the
// font's line box and are never clipped to their rectangle. The window's
// controls are as small as 12 pixels high, less than the line height of
// common CJK fonts, whose generous ascent would otherwise push the text down
// and cut it off. And the panel of a text field (its frame and fill) is drawn once per look -
// size, state, palette and background - and copied afterwards: a field
// rewritten every tick then costs its text only.
class FormStyle : public QProxyStyle {
    Q_OBJECT
public:
    // A fresh instance of the application's current style underneath.
    FormStyle();

    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                      bool enabled, const QString& text,
                      QPalette::ColorRole textRole = QPalette::NoRole) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

private:
    // What a field panel's look depends on: size, state, frame, direction,
    // palette, the colour beneath and the device pixel ratio.
    using PanelKey = std::tuple<int, int, unsigned, int, int, unsigned, int, qint64, unsigned, int>;
    mutable std::map<PanelKey, QPixmap> panels_;
};

// One style shared by every form of the process, owned by the application.
FormStyle* SharedFormStyle();

// Places a single-line field's text so that its glyphs sit in the middle of
// a field lower than the font's line height, and gives it the full width.
void FitFieldText(QLineEdit* field);
void FitFieldText(ReadoutField* field);

} // namespace huegrab
