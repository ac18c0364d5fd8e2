// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/offset_controls.h"

#include "app/color_fields.h"
#include "app/form/form1.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace huegrab {

OffsetControls::OffsetControls(Form1& form, WindowState& state)
    : panel_(form.Controls().offset), state_(state) {
    QObject::connect(panel_.enable, &QCheckBox::toggled, &form,
                     [this](bool checked) { OnEnabledChanged(checked); });
    QObject::connect(panel_.plus, &QPushButton::clicked, &form, [this] {
        if (state_.offset.Increase())
            ShowAmount();
    });
    QObject::connect(panel_.minus, &QPushButton::clicked, &form, [this] {
        if (state_.offset.Decrease())
            ShowAmount();
    });
}

void OffsetControls::OnEnabledChanged(bool checked) {
    panel_.plus->setEnabled(checked);
    panel_.minus->setEnabled(checked);
    state_.offset.SetEnabled(checked);
}

void OffsetControls::ShowAmount() {
    SetLabelText(panel_.amount, state_.offset.Caption());
}

} // namespace huegrab
