// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cursor_panel_controls.h"

#include "app/color_fields.h"
#include "app/desktop_abilities.h"
#include "app/form/clickable_label.h"
#include "app/form/form1.h"
#include "app/form/form_colors.h"
#include "app/form/picture_box.h"
#include "app/window_notes.h"
#include "cursor/cursor_feature_code.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

namespace huegrab {

namespace {

// The marker sits 45 twips (3 pixels) below the top of its slot label.
constexpr int kMarkerDrop = 3;
constexpr int kCursorPage = 1;

QRgb ToQRgb(ColorValue value) {
    return ToQColor(value).rgb();
}

} // namespace

CursorPanelControls::CursorPanelControls(Form1& form, CursorImageSource& cursor,
                                         PointerAndKeyboard& input, ScreenPixels& screen,
                                         const DesktopAbilities& abilities)
    : panel_(form.Controls().cursor), modes_(form.Controls().modes), cursor_(cursor), input_(input),
      screen_(screen),
      whyNoCode_(abilities.WhyNotAll({DesktopAbility::CursorImage, DesktopAbility::ReadPointer})),
      drawing_(kCursorPictureSide, kCursorPictureSide, QImage::Format_RGB32) {
    static_assert(CursorSlots::kCount == kCursorSlotCount, "one label and box per slot");
    QObject::connect(panel_.test, &QPushButton::clicked, this, [this] { ComputeForCurrentSlot(); });
    for (int k = 0; k < CursorSlots::kCount; ++k)
        QObject::connect(panel_.slotLabels[static_cast<std::size_t>(k)], &ClickableLabel::clicked,
                         this, [this, k] { SelectSlot(k); });
    ShowWhyNotOffered(form.Controls().modes);
}

void CursorPanelControls::ShowWhyNotOffered(const ModePages& modes) {
    if (!whyNoCode_)
        return;
    // Without them the code would be read off the screen, where no cursor is
    // drawn, or at its corner, where the position is unknown: the code of no
    // cursor at all.
    const QString line =
        NotOfferedLine(QT_TRANSLATE_NOOP("Form1", "读不到鼠标形状：%1"), *whyNoCode_);
    modes.pages[kCursorPage]->setToolTip(line);
    panel_.code->setPlaceholderText(line); // where the code would be
    panel_.code->setToolTip(line);
    panel_.test->setToolTip(line);
    panel_.test->setEnabled(false);
}

void CursorPanelControls::TickStep() {
    if (modes_.buttons[kCursorPage]->isChecked())
        ComputeForCurrentSlot();
}

void CursorPanelControls::ComputeForCurrentSlot() {
    if (whyNoCode_)
        return;
    // The method is read now, so a new choice counts from the next code on.
    const CursorFeatureCode result =
        GetCursorFeatureCode(cursor_, input_, screen_, panel_.method->currentIndex(), kLightGrey);

    // The box shows the picture on its background with the points read in
    // red; the marks are drawn here only, never where the code is read.
    for (int y = 0; y < kCursorPictureSide; ++y) {
        auto* line = reinterpret_cast<QRgb*>(drawing_.scanLine(y));
        for (int x = 0; x < kCursorPictureSide; ++x)
            line[x] = ToQRgb(result.picture.At(x, y));
    }
    for (const CursorPoint mark : result.marks)
        drawing_.setPixel(mark.x, mark.y, ToQRgb(kRed));
    const auto slot = static_cast<std::size_t>(slots_.Focused());
    if (drawing_ != shown_[slot]) {
        PictureBox* box = panel_.drawings[slot];
        box->Clear();
        box->DrawImage(0, 0, drawing_);
        shown_[slot] = drawing_.copy();
    }

    SetFieldText(panel_.code, std::to_string(result.code));
}

void CursorPanelControls::SelectSlot(int k) {
    if (k < 0 || k >= CursorSlots::kCount)
        return;
    for (PictureBox* box : panel_.drawings)
        box->hide();
    panel_.drawings[static_cast<std::size_t>(k)]->show();
    const std::optional<CursorSlotView> shown =
        slots_.Select(k, {FieldText(panel_.code), panel_.method->currentIndex()});
    MoveFocusMarker(k);
    SetFieldText(panel_.code, shown->code);
    panel_.method->setCurrentIndex(shown->method);
}

void CursorPanelControls::MoveFocusMarker(int k) {
    QFrame* marker = panel_.slotMarker;
    const QWidget* label = panel_.slotLabels[static_cast<std::size_t>(k)];
    marker->move(marker->x(), label->y() + kMarkerDrop);
}

} // namespace huegrab
