#include "app/form/form_style.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>

namespace huegrab {

FormStyle::FormStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

InkBand InkBandOf(const QFontMetrics& metrics) {
    // Tall CJK ideographs, Latin capitals and descenders, measured one by one
    // (the bounds of a mixed run leave out the descenders).
    QRect ink;
    for (const char* sample : {"国", "H", "g", "y"}) {
        ink |= metrics.tightBoundingRect(QString::fromUtf8(sample));
    }
    return {-ink.top(), ink.bottom()};
}

void FormStyle::drawItemText(QPainter* painter, const QRect& rect, int flags,
                             const QPalette& palette, bool enabled, const QString& text,
                             QPalette::ColorRole textRole) const {
    if ((flags & Qt::AlignVertical_Mask) != Qt::AlignVCenter || text.isEmpty()) {
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
        return;
    }
    // Centre the ink of all lines - from the first line's tallest glyph top
    // to the last line's deepest descender - and draw from the top.
    const QFontMetrics metrics(painter->font());
    const InkBand band = InkBandOf(metrics);
    const int lines = static_cast<int>(text.count(QLatin1Char('\n'))) + 1;
    const int inkHeight = (lines - 1) * metrics.lineSpacing() + band.above + band.below + 1;
    const int firstBaseline = rect.top() + (rect.height() - inkHeight + 1) / 2 + band.above;
    const QRect textRect(rect.left(), firstBaseline - metrics.ascent(), rect.width(),
                         lines * metrics.lineSpacing());
    const int topFlags = (flags & ~Qt::AlignVertical_Mask) | Qt::AlignTop | Qt::TextDontClip;
    QProxyStyle::drawItemText(painter, textRect, topFlags, palette, enabled, text, textRole);
}

FormStyle* SharedFormStyle() {
    static QPointer<FormStyle> style;
    if (style.isNull()) {
        style = new FormStyle; // owned by the application object below
        style->setParent(QCoreApplication::instance());
    }
    return style.data();
}

void FitFieldText(QLineEdit* field) {
    const QFontMetrics metrics(field->font());
    const int frame = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth,
                                                                      nullptr, field)
                                        : 0;
    const int height = field->height();
    int top = 0;
    int bottom = 0;
    if (height - 2 * frame < metrics.height()) {
        // QLineEdit centres the font's line box inside the text rectangle; make
        // that rectangle exactly one line box placed around the wanted baseline,
        // the one that centres the ink band as item texts do.
        const InkBand band = InkBandOf(metrics);
        const int baseline = (height - (band.above + band.below + 1) + 1) / 2 + band.above;
        const int boxTop = baseline - metrics.ascent();
        top = boxTop - frame;
        bottom = (height - frame) - (boxTop + metrics.height());
    }
    // QLineEdit keeps 2 pixels free beside the text; 1 is enough in narrow fields.
    field->setTextMargins(-1, top, -1, bottom);
}

} // namespace huegrab
