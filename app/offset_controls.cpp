#include "app/offset_controls.h"

#include "app/form/form1.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace huegrab {

OffsetControls::OffsetControls(Form1& form, WindowState& state) : form_(form), state_(state) {
    if (auto* enable = form_.Find<QCheckBox>("Check2"))
        QObject::connect(enable, &QCheckBox::toggled, &form_,
                         [this](bool checked) { OnEnabledChanged(checked); });
    if (auto* plus = form_.Find<QPushButton>("Command3"))
        QObject::connect(plus, &QPushButton::clicked, &form_, [this] {
            if (state_.offset.Increase())
                ShowAmount();
        });
    if (auto* minus = form_.Find<QPushButton>("Command4"))
        QObject::connect(minus, &QPushButton::clicked, &form_, [this] {
            if (state_.offset.Decrease())
                ShowAmount();
        });
}

void OffsetControls::OnEnabledChanged(bool checked) {
    for (const char* name : {"Command3", "Command4"})
        if (QWidget* button = form_.Control(name))
            button->setEnabled(checked);
    state_.offset.SetEnabled(checked);
}

void OffsetControls::ShowAmount() {
    if (auto* amount = form_.Find<QLabel>("Label10"))
        amount->setText(QString::fromStdString(state_.offset.Caption()));
}

} // namespace huegrab
