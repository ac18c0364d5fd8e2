// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

namespace huegrab {

struct ShapedLine;

// A one-line label the program rewrites on every tick (the raw pointer
// position). It draws exactly what a plain-text QLabel with the window's
// style draws, but a new text costs one shaping and a repaint of the label:
// no layout request, no rich-text check, no shaping on every paint.
class ReadoutLabel : public QWidget {
    Q_OBJECT
public:
    explicit ReadoutLabel(QWidget* parent = nullptr);
    ~ReadoutLabel() override;

    QString text() const { return text_; }
    void setText(const QString& text); // the same text again changes nothing

    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment alignment);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString text_;
    std::shared_ptr<const ShapedLine> line_; // only for plain item texts
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
};

} // namespace huegrab
