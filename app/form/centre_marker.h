// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace huegrab {

// One of the four centre markers of the magnifier. The magnifier draws the
// markers itself, so that its picture is one piece; this label keeps the
// marker's name, place and colour for whoever looks it up. It stays hidden,
// and would paint nothing if shown, so it never cuts holes into the
// magnifier's repaints nor takes paint events of its own.
class CentreMarker : public QLabel {
    Q_OBJECT
public:
    explicit CentreMarker(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace huegrab
