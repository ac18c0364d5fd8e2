// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/shaped_line.h"

#include <QFontMetrics>
#include <QHash>
#include <QTextLine>
#include <QTextOption>
#include <algorithm>
#include <array>
#include <limits>
#include <list>
#include <utility>
#include <vector>

namespace huegrab {
namespace {

// What a single-line field draws for a text: line breaks and other control
// characters would draw as boxes, so they show as spaces; a tab stays a tab.
QString DisplayText(const QString& text) {
    QString shown = text;
    for (QChar& c : shown) {
        if ((c.unicode() < 0x20 && c != QLatin1Char('\t')) || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter)
            c = QLatin1Char(' ');
    }
    return shown;
}

// The height QFontMetrics::boundingRect gives a text: the line box joined
// with the glyphs' own boxes. For printable ASCII, which is drawn from the
// font itself without vertical shifts, it is the union of the characters'
// boxes, measured once per font; other texts are measured whole.
int BoundingHeight(const QFont& font, const QString& text) {
    struct Extent {
        int top = 0;
        int bottom = 0;
    };
    struct Measured {
        QFont font;
        std::array<Extent, 95> ascii; // ' ' to '~'
    };
    static std::vector<Measured> fonts; // a handful of fonts
    const bool printableAscii = std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() < 0x7F;
    });
    const QFontMetrics metrics(font);
    if (!printableAscii || text.isEmpty())
        return metrics.boundingRect(text).height();
    auto known =
        std::find_if(fonts.begin(), fonts.end(), [&](const Measured& m) { return m.font == font; });
    if (known == fonts.end()) {
        Measured measured{font, {}};
        for (char16_t c = 0x20; c < 0x7F; ++c) {
            const QRect box = metrics.boundingRect(QString(QChar(c)));
            measured.ascii[c - 0x20] = {box.top(), box.top() + box.height()};
        }
        fonts.push_back(measured);
        known = std::prev(fonts.end());
    }
    int top = std::numeric_limits<int>::max();
    int bottom = std::numeric_limits<int>::min();
    for (const QChar c : text) {
        const Extent& extent = known->ascii[c.unicode() - 0x20];
        top = std::min(top, extent.top);
        bottom = std::max(bottom, extent.bottom);
    }
    return bottom - top;
}

// Least recently used first; the texts a readout repeats stay, one-off texts
// (a window title, a six-digit code) pass through.
class ShapedLineCache {
public:
    std::shared_ptr<const ShapedLine> Get(const QFont& font, const QString& text) {
        const Key key{font, text};
        if (const auto found = index_.find(key); found != index_.end()) {
            order_.splice(order_.end(), order_, found.value());
            return found.value()->second;
        }
        if (order_.size() >= kCapacity) {
            index_.remove(order_.front().first);
            order_.pop_front();
        }
        order_.emplace_back(key, ShapeLine(font, text));
        index_.insert(key, std::prev(order_.end()));
        return order_.back().second;
    }

    // Longer texts are shaped for the field alone.
    static constexpr qsizetype kLongestKept = 64;

private:
    struct Key {
        QFont font;
        QString text;
        bool operator==(const Key& other) const { return text == other.text && font == other.font; }
        friend size_t qHash(const Key& key, size_t seed) {
            return qHashMulti(seed, key.text, key.font);
        }
    };
    // About 1.1 KB each, 2.2 MB at most: enough for every component value and hex pair,
    // and a screen's worth of coordinates.
    static constexpr std::size_t kCapacity = 2048;
    using Entry = std::pair<Key, std::shared_ptr<const ShapedLine>>;
    std::list<Entry> order_;
    QHash<Key, std::list<Entry>::iterator> index_;
};

} // namespace

std::shared_ptr<const ShapedLine> ShapeLine(const QFont& font, const QString& text) {
    auto shaped = std::make_shared<ShapedLine>();
    QTextLayout& layout = shaped->layout;
    layout.setCacheEnabled(true); // keep the glyphs for every later draw
    layout.setFont(font);
    layout.setText(DisplayText(text));
    QTextOption option = layout.textOption();
    option.setTextDirection(Qt::LayoutDirectionAuto);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    shaped->naturalWidth = qRound(line.naturalTextWidth());
    shaped->ascent = qRound(line.ascent());
    shaped->boundingHeight = BoundingHeight(font, text);
    return shaped;
}

std::shared_ptr<const ShapedLine> CachedShapedLine(const QFont& font, const QString& text) {
    if (text.size() > ShapedLineCache::kLongestKept)
        return ShapeLine(font, text);
    static ShapedLineCache cache;
    return cache.Get(font, text);
}

} // namespace huegrab
