// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/form_style.h"

#include "app/form/readout_field.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOptionFrame>
#include <cmath>
#include <optional>
#include <vector>

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

InkBand CachedInkBandOf(const QFont& font) {
    struct Measured {
        QFont font;
        int dpi;
        InkBand band;
    };
    static std::vector<Measured> bands; // a handful of fonts
    const QFontMetrics metrics(font);
    const int dpi = static_cast<int>(metrics.fontDpi());
    for (const Measured& known : bands) {
        if (known.dpi == dpi && known.font == font) {
            return known.band;
        }
    }
    const InkBand band = InkBandOf(metrics);
    bands.push_back({font, dpi, band});
    return band;
}

namespace {

// The colour a field's panel is drawn over when it can be copied from a
// picture: the field fills its whole rectangle with one opaque colour first
// (autoFillBackground), the painter only moves by whole device pixels, and
// the panel covers the field.
std::optional<QColor> PanelGround(const QStyleOption& option, const QPainter& painter,
                                  const QWidget* widget) {
    if (widget == nullptr || !widget->autoFillBackground() || option.rect != widget->rect()) {
        return std::nullopt;
    }
    const QBrush& fill = widget->palette().brush(widget->backgroundRole());
    if (fill.style() != Qt::SolidPattern || !fill.isOpaque()) {
        return std::nullopt;
    }
    const QTransform& transform = painter.deviceTransform();
    const qreal ratio = painter.device()->devicePixelRatio();
    if (transform.type() > QTransform::TxScale || transform.m11() != ratio ||
        transform.m22() != ratio || ratio != std::round(ratio) ||
        transform.dx() != std::round(transform.dx()) ||
        transform.dy() != std::round(transform.dy())) {
        return std::nullopt;
    }
    return fill.color();
}

} // namespace

void FormStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                              QPainter* painter, const QWidget* widget) const {
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    const std::optional<QColor> ground =
        element == PE_PanelLineEdit && frame != nullptr && painter != nullptr
            ? PanelGround(*frame, *painter, widget)
            : std::nullopt;
    if (!ground) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const qreal ratio = painter->device()->devicePixelRatio();
    const PanelKey key{frame->rect.width(),
                       frame->rect.height(),
                       static_cast<unsigned>(frame->state),
                       frame->lineWidth,
                       frame->midLineWidth,
                       static_cast<unsigned>(frame->features),
                       static_cast<int>(frame->direction),
                       frame->palette.cacheKey(),
                       ground->rgba(),
                       static_cast<int>(ratio)};
    auto found = panels_.find(key);
    if (found == panels_.end()) {
        // Palettes come and go (a field's colours are set anew): forget old looks.
        constexpr std::size_t kMostPanels = 256;
        if (panels_.size() >= kMostPanels) {
            panels_.clear();
        }
        QPixmap fresh(frame->rect.size() * static_cast<int>(ratio));
        fresh.setDevicePixelRatio(ratio);
        fresh.fill(*ground);
        QStyleOptionFrame atOrigin = *frame;
        atOrigin.rect.moveTopLeft(QPoint(0, 0));
        QPainter panelPainter(&fresh);
        QProxyStyle::drawPrimitive(element, &atOrigin, &panelPainter, widget);
        panelPainter.end();
        found = panels_.emplace(key, fresh).first;
    }
    const QPixmap& panel = found->second;
    painter->drawPixmap(frame->rect.topLeft(), panel);
}

void FormStyle::drawItemText(QPainter* painter, const QRect& rect, int flags,
                             const QPalette& palette, bool enabled, const QString& text,
                             QPalette::ColorRole textRole) const {
    if ((flags & Qt::AlignVertical_Mask) != Qt::AlignVCenter || text.isEmpty()) {
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
        return;
    }
    const int lines = static_cast<int>(text.count(QLatin1Char('\n'))) + 1;
    const QRect textRect = InkCentredTextRect(painter->font(), rect, lines);
    const int topFlags = (flags & ~Qt::AlignVertical_Mask) | Qt::AlignTop | Qt::TextDontClip;
    QProxyStyle::drawItemText(painter, textRect, topFlags, palette, enabled, text, textRole);
}

QRect InkCentredTextRect(const QFont& font, const QRect& rect, int lines) {
    // Centre the ink of all lines - from the first line's tallest glyph top
    // to the last line's deepest descender.
    const QFontMetrics metrics(font);
    const InkBand band = CachedInkBandOf(font);
    const int inkHeight = (lines - 1) * metrics.lineSpacing() + band.above + band.below + 1;
    const int firstBaseline = rect.top() + (rect.height() - inkHeight + 1) / 2 + band.above;
    return QRect(rect.left(), firstBaseline - metrics.ascent(), rect.width(),
                 lines * metrics.lineSpacing());
}

FormStyle* SharedFormStyle() {
    static QPointer<FormStyle> style;
    if (style.isNull()) {
        style = new FormStyle; // owned by the application object below
        style->setParent(QCoreApplication::instance());
    }
    return style.data();
}

namespace {

QMargins FittedTextMargins(const QWidget* field, bool framed) {
    const QFontMetrics metrics(field->font());
    const int frame =
        framed ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, field) : 0;
    const int height = field->height();
    int top = 0;
    int bottom = 0;
    if (height - 2 * frame < metrics.height()) {
        // A line edit centres the font's line box inside the text rectangle;
        // make that rectangle exactly one line box placed around the wanted
        // baseline, the one that centres the ink band as item texts do.
        const InkBand band = CachedInkBandOf(field->font());
        const int baseline = (height - (band.above + band.below + 1) + 1) / 2 + band.above;
        const int boxTop = baseline - metrics.ascent();
        top = boxTop - frame;
        bottom = (height - frame) - (boxTop + metrics.height());
    }
    // A line edit keeps 2 pixels free beside the text; 1 is enough in narrow fields.
    return QMargins(-1, top, -1, bottom);
}

} // namespace

void FitFieldText(QLineEdit* field) {
    field->setTextMargins(FittedTextMargins(field, field->hasFrame()));
}

void FitFieldText(ReadoutField* field) {
    field->setTextMargins(FittedTextMargins(field, true));
}

} // namespace huegrab
