#include "app/form/form_style.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHash>
#include <QLineEdit>
#include <QPainter>
#include <QPixmapCache>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOptionFrame>
#include <cmath>
#include <optional>

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
    static QHash<QString, InkBand> bands;
    const QFontMetrics metrics(font);
    const QString key = font.key() + QLatin1Char('@') + QString::number(metrics.fontDpi());
    const auto found = bands.constFind(key);
    if (found != bands.constEnd()) {
        return *found;
    }
    const InkBand band = InkBandOf(metrics);
    bands.insert(key, band);
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
    const QString key = QStringLiteral("huegrab-field-panel-%1x%2-%3-%4-%5-%6-%7-%8-%9")
                            .arg(frame->rect.width())
                            .arg(frame->rect.height())
                            .arg(static_cast<uint>(frame->state), 0, 16)
                            .arg(frame->lineWidth)
                            .arg(frame->midLineWidth)
                            .arg(static_cast<uint>(frame->features))
                            .arg(frame->palette.cacheKey())
                            .arg(ground->rgba(), 0, 16)
                            .arg(QString::number(ratio) +
                                 QLatin1Char(frame->direction == Qt::RightToLeft ? 'r' : 'l'));
    QPixmap panel;
    if (!QPixmapCache::find(key, &panel)) {
        panel = QPixmap(frame->rect.size() * static_cast<int>(ratio));
        panel.setDevicePixelRatio(ratio);
        panel.fill(*ground);
        QStyleOptionFrame atOrigin = *frame;
        atOrigin.rect.moveTopLeft(QPoint(0, 0));
        QPainter panelPainter(&panel);
        QProxyStyle::drawPrimitive(element, &atOrigin, &panelPainter, widget);
        panelPainter.end();
        QPixmapCache::insert(key, panel);
    }
    painter->drawPixmap(frame->rect.topLeft(), panel);
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
    const InkBand band = CachedInkBandOf(painter->font());
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
        const InkBand band = CachedInkBandOf(field->font());
        const int baseline = (height - (band.above + band.below + 1) + 1) / 2 + band.above;
        const int boxTop = baseline - metrics.ascent();
        top = boxTop - frame;
        bottom = (height - frame) - (boxTop + metrics.height());
    }
    // QLineEdit keeps 2 pixels free beside the text; 1 is enough in narrow fields.
    field->setTextMargins(-1, top, -1, bottom);
}

} // namespace huegrab
