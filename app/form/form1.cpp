// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/form1.h"

#include "app/form/clickable_label.h"
#include "app/form/control_factory.h"
#include "app/form/form_icons.h"
#include "app/form/icon_image.h"
#include "app/form/layout_table.h"
#include "app/form/magnifier_grid.h"
#include "app/form/picture_box.h"
#include "app/form/readout_field.h"
#include "app/form/translation.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>

namespace huegrab {
namespace {

constexpr char kTitle[] = QT_TRANSLATE_NOOP("Form1", "Huegrab抓点／抓色v3.20.1001正式版");
constexpr int kFrameWaitMs = 2000; // how long a window manager may take to frame us

// Kinds of field that take their name from a caption label before them; a
// drop-down ("选方式：") is labelled by it as well.
bool IsCaptionedField(ControlKind kind) {
    return kind == ControlKind::TextBox || kind == ControlKind::Readout ||
           kind == ControlKind::ComboBox;
}

} // namespace

QFont WindowFont() {
    QFont font;
    // The first of these that is installed; all carry the Chinese captions.
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("SimSun"), QStringLiteral("sans-serif")});
    font.setPixelSize(12);
    return font;
}

Form1::Form1(ShellServices& shell, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      shell_(shell) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QCoreApplication::translate(kFormContext, kTitle));
    setWindowIcon(AppIcon());
    setFont(WindowFont()); // before the controls: fields fit their text to it
    setFixedSize(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));

    BuildFromTable();
    ResolveControls();
    SetPictures();
    ConnectPageButtons();
    connect(controls_.contact, &ClickableLabel::clicked, this,
            [this] { shell_.OpenUrl("mailto:" + std::string(kContactAddress)); });
    controls_.tracking.startStop->setFocus();
}

void Form1::BuildFromTable() {
    // A label followed in the table by a field of its own container is that
    // field's caption: made its buddy, it gives the field its accessible
    // name, which would otherwise be the title of the frame around it.
    QLabel* caption = nullptr;
    for (const ControlRow& row : LayoutTable()) {
        QWidget* parent = this;
        if (!row.parent.name.empty()) {
            parent = Control(row.parent.name, row.parent.index);
            if (parent == nullptr) {
                std::cerr << "huegrab: layout row " << row.name << " names a missing parent "
                          << row.parent.name << "(" << row.parent.index << ")\n";
                parent = this;
            }
        }
        QWidget* widget = CreateControl(row, parent);
        if (widget == nullptr) {
            caption = nullptr;
            continue;
        }
        byName_[{std::string(row.name), row.index}] = widget;
        if (caption != nullptr && caption->parentWidget() == parent && IsCaptionedField(row.kind))
            caption->setBuddy(widget);
        caption = row.kind == ControlKind::Label && !row.caption.empty()
                      ? qobject_cast<QLabel*>(widget)
                      : nullptr;
    }
}

void Form1::ResolveControls() {
    std::vector<std::string> problems;
    controls_ = ResolveFormControls(
        [this](std::string_view name, int index) { return Control(name, index); }, problems);
    if (problems.empty())
        return;
    // A handler would otherwise fail silently at its first click.
    for (const std::string& problem : problems)
        std::cerr << "huegrab: the window's layout table has " << problem << "\n";
    std::abort();
}

void Form1::SetPictures() {
    IconImage* image = controls_.window.crossHairImage;
    image->SetIcon(CrosshairPixmap(devicePixelRatioF()), CrosshairCursor());
    controls_.window.crossHair->SetPicture(image->Icon());
}

void Form1::ConnectPageButtons() {
    for (int k = 0; k < kPageCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        connect(controls_.modes.buttons[i], &QAbstractButton::clicked, this,
                [this, k] { SelectModePage(k); });
        connect(controls_.window.pageButtons[i], &QAbstractButton::clicked, this,
                [this, k] { SelectWindowPage(k); });
    }
}

QWidget* Form1::Control(std::string_view name, int index) const {
    const auto found = byName_.find({std::string(name), index});
    return found == byName_.end() ? nullptr : found->second;
}

QLineEdit* Form1::Field(std::string_view name) const {
    return qobject_cast<QLineEdit*>(Control(name));
}

ReadoutField* Form1::Readout(std::string_view name) const {
    return qobject_cast<ReadoutField*>(Control(name));
}

void Form1::ShowOnly(const std::array<QAbstractButton*, kPageCount>& buttons,
                     const std::array<QWidget*, kPageCount>& pages, int k) {
    if (k < 0 || k >= kPageCount)
        return;
    const auto shown = static_cast<std::size_t>(k);
    buttons[shown]->setChecked(true); // already so after a click; a call from code follows suit
    for (QWidget* page : pages)
        page->hide();
    pages[shown]->show();
    controls_.tracking.startStop->setFocus();
}

void Form1::SelectModePage(int k) {
    ShowOnly(controls_.modes.buttons, controls_.modes.pages, k);
}

void Form1::SelectWindowPage(int k) {
    ShowOnly(controls_.window.pageButtons, controls_.window.pages, k);
}

void Form1::CenterOnScreen() {
    QScreen* target = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (target == nullptr) {
        return;
    }
    const QRect free = target->availableGeometry();
    const QSize outer = frameGeometry().size().expandedTo(size());
    // A window larger than the screen (a small or highly scaled one) keeps
    // its top-left corner, with the title bar, on the screen: centred, both
    // would be off it and the window could not be taken by its title.
    move(free.x() + std::max(0, (free.width() - outer.width()) / 2),
         free.y() + std::max(0, (free.height() - outer.height()) / 2));
    centred_ = true;
}

void Form1::showEvent(QShowEvent* event) {
    if (!shown_) {
        shown_ = true;
        if (!centred_)
            CenterOnScreen();
        // A window manager adds its frame only after the first show; centre
        // the framed window again once the frame is known, but not after the
        // user could have moved it.
        awaitingFrame_ = true;
        QTimer::singleShot(kFrameWaitMs, this, [this] { awaitingFrame_ = false; });
    }
    QWidget::showEvent(event);
}

bool Form1::event(QEvent* event) {
    const bool result = QWidget::event(event);
    if (awaitingFrame_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
        frameGeometry().size() != size()) {
        awaitingFrame_ = false;
        CenterOnScreen();
    }
    return result;
}

} // namespace huegrab
