#include "app/form/form1.h"

#include "app/form/clickable_label.h"
#include "app/form/control_factory.h"
#include "app/form/form_icons.h"
#include "app/form/icon_image.h"
#include "app/form/layout_table.h"
#include "app/form/magnifier_grid.h"
#include "app/form/picture_box.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <iostream>
#include <string>

namespace huegrab {
namespace {

constexpr char kTitle[] = "Huegrab抓点／抓色v3.20.1001正式版";
constexpr int kPageCount = 3;
constexpr int kTimerInterval = 100; // milliseconds between sampling ticks

QFont WindowFont() {
    QFont font;
    // The first of these that is installed; all carry the Chinese captions.
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("SimSun"), QStringLiteral("sans-serif")});
    font.setPixelSize(12);
    return font;
}

} // namespace

Form1::Form1(ShellServices& shell, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      shell_(shell) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowIcon(AppIcon());
    setFont(WindowFont()); // before the controls: fields fit their text to it
    setFixedSize(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));

    BuildFromTable();
    SetPictures();
    ConnectPageButtons();
    if (auto* contact = Find<ClickableLabel>("Label7")) {
        connect(contact, &ClickableLabel::clicked, this,
                [this] { shell_.OpenUrl("mailto:" + std::string(kContactAddress)); });
    }
    if (QWidget* startStop = Control("Check1")) {
        startStop->setFocus();
    }
}

void Form1::BuildFromTable() {
    for (const ControlSpec& row : LayoutTable()) {
        QWidget* parent = this;
        if (!row.parent.name.empty()) {
            parent = Control(row.parent.name, row.parent.index);
            if (parent == nullptr) {
                std::cerr << "huegrab: layout row " << row.name << " names a missing parent "
                          << row.parent.name << "(" << row.parent.index << ")\n";
                parent = this;
            }
        }
        if (row.kind == ControlKind::Timer) {
            timer1_ = new QTimer(this);
            timer1_->setObjectName(
                QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size())));
            timer1_->setInterval(kTimerInterval);
            continue;
        }
        if (QWidget* widget = CreateControl(row, parent)) {
            controls_[{std::string(row.name), row.index}] = widget;
        }
    }
}

void Form1::SetPictures() {
    auto* image = Find<IconImage>("imgCursor");
    auto* crossHair = Find<PictureBox>("picCrossHair");
    if (image != nullptr) {
        image->SetIcon(CrosshairPixmap(devicePixelRatioF()), CrosshairCursor());
    }
    if (crossHair != nullptr && image != nullptr) {
        crossHair->SetPicture(image->Icon());
    }
}

void Form1::ConnectPageButtons() {
    for (int k = 0; k < kPageCount; ++k) {
        if (auto* button = Find<QAbstractButton>("Option2", k)) {
            connect(button, &QAbstractButton::clicked, this, [this, k] { SelectModePage(k); });
        }
        if (auto* button = Find<QAbstractButton>("句柄选项", k)) {
            connect(button, &QAbstractButton::clicked, this, [this, k] { SelectWindowPage(k); });
        }
    }
}

QWidget* Form1::Control(std::string_view name, int index) const {
    const auto found = controls_.find({std::string(name), index});
    return found == controls_.end() ? nullptr : found->second;
}

QLineEdit* Form1::Field(std::string_view name) const {
    return Find<QLineEdit>(name);
}

MagnifierGrid* Form1::Magnifier() const {
    return Find<MagnifierGrid>("点阵");
}

void Form1::ShowOnly(std::string_view buttonName, std::string_view pageName, int k) {
    if (auto* button = Find<QAbstractButton>(buttonName, k)) {
        button->setChecked(true); // already so after a click; a call from code follows suit
    }
    for (int i = 0; i < kPageCount; ++i) {
        if (QWidget* page = Control(pageName, i)) {
            page->hide();
        }
    }
    if (QWidget* page = Control(pageName, k)) {
        page->show();
    }
    if (QWidget* startStop = Control("Check1")) {
        startStop->setFocus();
    }
}

void Form1::SelectModePage(int k) {
    ShowOnly("Option2", "Frame2", k);
}

void Form1::SelectWindowPage(int k) {
    ShowOnly("句柄选项", "句柄选页", k);
}

void Form1::CenterOnScreen() {
    QScreen* target = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (target == nullptr) {
        return;
    }
    const QRect free = target->availableGeometry();
    const QSize outer = frameGeometry().size().expandedTo(size());
    move(free.x() + (free.width() - outer.width()) / 2,
         free.y() + (free.height() - outer.height()) / 2);
    centred_ = true;
}

void Form1::showEvent(QShowEvent* event) {
    if (!centred_) {
        CenterOnScreen();
    }
    QWidget::showEvent(event);
}

} // namespace huegrab
