// SPDX-License-Identifier: GPL-3.0-or-later
// The window against the numbers it must have: every control with its
// kind, parent, place, caption, tooltip, colours and start state, written out
// here independently of the layout table; and the layout as a whole: nothing
// overlaps, leaves its frame or clips its caption.
#include "app/form/filled_label.h"
#include "app/form/form_colors.h"
#include "app/form/frame_box.h"
#include "app/form/magnifier_grid.h"
#include "tests/form/form_test_support.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace huegrab {
namespace {

using testing_support::FormFixture;
using testing_support::Label;
using testing_support::Px;
using testing_support::Q;

enum class Kind {
    Frame,
    Label,
    Field,
    MultiLine,
    CheckBox,
    ToggleButton,
    Option,
    OptionButton,
    Button,
    List,
    Combo,
    Picture,
    Image,
    Shape,
    Magnifier
};

struct Expected {
    const char* name;
    int index;
    Kind kind;
    const char* parent; // nullptr: the window
    int parentIndex;
};

// Every control the window must have, by container.
const Expected kControls[] = {
    {"Check1", -1, Kind::CheckBox, nullptr, -1},
    {"Frame1", 3, Kind::Frame, nullptr, -1},
    {"Frame1", 1, Kind::Frame, nullptr, -1},
    {"Frame1", 5, Kind::Frame, nullptr, -1},
    {"Frame1", 2, Kind::Frame, nullptr, -1},
    {"Frame1", 0, Kind::Frame, nullptr, -1},
    {"Label8", -1, Kind::Label, nullptr, -1},
    {"Label9", -1, Kind::Label, nullptr, -1},
    {"Frame2", 0, Kind::Frame, nullptr, -1},
    {"Frame2", 1, Kind::Frame, nullptr, -1},
    {"Frame2", 2, Kind::Frame, nullptr, -1},
    {"Option2", 0, Kind::OptionButton, nullptr, -1},
    {"Option2", 1, Kind::OptionButton, nullptr, -1},
    {"Option2", 2, Kind::OptionButton, nullptr, -1},
    {"Label5", 6, Kind::Label, nullptr, -1},
    {"Label11", 0, Kind::Label, nullptr, -1},
    {"Label7", -1, Kind::Label, nullptr, -1},
    // Custom-coordinate panel.
    {"Label1", 123, Kind::Label, "Frame1", 3},
    {"自x", -1, Kind::Field, "Frame1", 3},
    {"Label1", 124, Kind::Label, "Frame1", 3},
    {"自y", -1, Kind::Field, "Frame1", 3},
    {"Command11", 1, Kind::Button, "Frame1", 3},
    {"Label5", 3, Kind::Label, "Frame1", 3},
    {"自16", -1, Kind::Field, "Frame1", 3},
    {"Command11", 6, Kind::Button, "Frame1", 3},
    {"Label5", 4, Kind::Label, "Frame1", 3},
    {"自10", -1, Kind::Field, "Frame1", 3},
    {"Command2", -1, Kind::Button, "Frame1", 3},
    {"自颜色", -1, Kind::Label, "Frame1", 3},
    {"Label2", 12, Kind::Label, "Frame1", 3},
    {"Label2", 11, Kind::Label, "Frame1", 3},
    {"Label2", 10, Kind::Label, "Frame1", 3},
    {"Label2", 0, Kind::Label, "Frame1", 3},
    {"Label2", 1, Kind::Label, "Frame1", 3},
    {"Label2", 2, Kind::Label, "Frame1", 3},
    {"Label2", 15, Kind::Label, "Frame1", 3},
    {"Label2", 16, Kind::Label, "Frame1", 3},
    {"Label2", 17, Kind::Label, "Frame1", 3},
    {"自16r", -1, Kind::Field, "Frame1", 3},
    {"自16g", -1, Kind::Field, "Frame1", 3},
    {"自16b", -1, Kind::Field, "Frame1", 3},
    {"自10r", -1, Kind::Field, "Frame1", 3},
    {"自10g", -1, Kind::Field, "Frame1", 3},
    {"自10b", -1, Kind::Field, "Frame1", 3},
    {"自10h", -1, Kind::Field, "Frame1", 3},
    {"自10s", -1, Kind::Field, "Frame1", 3},
    {"自10l", -1, Kind::Field, "Frame1", 3},
    // Picked-value panel.
    {"Label1", 121, Kind::Label, "Frame1", 1},
    {"得x", -1, Kind::Field, "Frame1", 1},
    {"Label1", 122, Kind::Label, "Frame1", 1},
    {"得y", -1, Kind::Field, "Frame1", 1},
    {"Command11", 0, Kind::Button, "Frame1", 1},
    {"Label5", 1, Kind::Label, "Frame1", 1},
    {"得16", -1, Kind::Field, "Frame1", 1},
    {"Command11", 5, Kind::Button, "Frame1", 1},
    {"Label5", 2, Kind::Label, "Frame1", 1},
    {"得10", -1, Kind::Field, "Frame1", 1},
    {"Label5", 0, Kind::Label, "Frame1", 1},
    {"Label5", 5, Kind::Label, "Frame1", 1},
    {"得颜色", -1, Kind::Label, "Frame1", 1},
    {"Label2", 6, Kind::Label, "Frame1", 1},
    {"Label2", 5, Kind::Label, "Frame1", 1},
    {"Label2", 4, Kind::Label, "Frame1", 1},
    {"Label2", 3, Kind::Label, "Frame1", 1},
    {"Label2", 13, Kind::Label, "Frame1", 1},
    {"Label2", 14, Kind::Label, "Frame1", 1},
    {"Label2", 19, Kind::Label, "Frame1", 1},
    {"Label2", 18, Kind::Label, "Frame1", 1},
    {"Label2", 20, Kind::Label, "Frame1", 1},
    {"得16r", -1, Kind::Field, "Frame1", 1},
    {"得16g", -1, Kind::Field, "Frame1", 1},
    {"得16b", -1, Kind::Field, "Frame1", 1},
    {"得10r", -1, Kind::Field, "Frame1", 1},
    {"得10g", -1, Kind::Field, "Frame1", 1},
    {"得10b", -1, Kind::Field, "Frame1", 1},
    {"得10h", -1, Kind::Field, "Frame1", 1},
    {"得10s", -1, Kind::Field, "Frame1", 1},
    {"得10l", -1, Kind::Field, "Frame1", 1},
    {"焦点", 0, Kind::Shape, "Frame1", 1},
    {"色块", 0, Kind::Label, "Frame1", 1},
    {"色块", 9, Kind::Label, "Frame1", 1},
    // Magnifier.
    {"点阵", -1, Kind::Magnifier, "Frame1", 5},
    {"pd", 0, Kind::Label, "Frame1", 5},
    {"pd", 1, Kind::Label, "Frame1", 5},
    {"pd", 2, Kind::Label, "Frame1", 5},
    {"pd", 3, Kind::Label, "Frame1", 5},
    // Offset picking and origin.
    {"Check2", -1, Kind::CheckBox, "Frame1", 2},
    {"Label11", 1, Kind::Label, "Frame1", 2},
    {"Label10", -1, Kind::Label, "Frame1", 2},
    {"Command3", -1, Kind::Button, "Frame1", 2},
    {"Command4", -1, Kind::Button, "Frame1", 2},
    {"Check3", -1, Kind::CheckBox, "Frame1", 0},
    {"Label1", 1, Kind::Label, "Frame1", 0},
    {"起x", -1, Kind::Field, "Frame1", 0},
    {"Label1", 0, Kind::Label, "Frame1", 0},
    {"起y", -1, Kind::Field, "Frame1", 0},
    {"Command11", 4, Kind::Button, "Frame1", 0},
    // Lookup page.
    {"Option1", 0, Kind::Option, "Frame2", 0},
    {"Option1", 1, Kind::Option, "Frame2", 0},
    {"Label11", 2, Kind::Label, "Frame2", 0},
    {"查10", -1, Kind::Field, "Frame2", 0},
    {"Label11", 3, Kind::Label, "Frame2", 0},
    {"查16", -1, Kind::Field, "Frame2", 0},
    {"Command1", -1, Kind::Button, "Frame2", 0},
    {"查颜色", -1, Kind::Label, "Frame2", 0},
    {"Label2", 23, Kind::Label, "Frame2", 0},
    {"Label2", 22, Kind::Label, "Frame2", 0},
    {"Label2", 21, Kind::Label, "Frame2", 0},
    {"Label2", 7, Kind::Label, "Frame2", 0},
    {"Label2", 8, Kind::Label, "Frame2", 0},
    {"Label2", 9, Kind::Label, "Frame2", 0},
    {"查10r", -1, Kind::Field, "Frame2", 0},
    {"查10g", -1, Kind::Field, "Frame2", 0},
    {"查10b", -1, Kind::Field, "Frame2", 0},
    {"查10h", -1, Kind::Field, "Frame2", 0},
    {"查10s", -1, Kind::Field, "Frame2", 0},
    {"查10l", -1, Kind::Field, "Frame2", 0},
    {"Command11", 2, Kind::Button, "Frame2", 0},
    {"Command11", 3, Kind::Button, "Frame2", 0},
    // Cursor page.
    {"Combo1", -1, Kind::Combo, "Frame2", 1},
    {"鼠标特征码", -1, Kind::Field, "Frame2", 1},
    {"鼠标绘制", 0, Kind::Picture, "Frame2", 1},
    {"鼠标绘制", 3, Kind::Picture, "Frame2", 1},
    {"Command7", -1, Kind::Button, "Frame2", 1},
    {"鼠标块", 0, Kind::Label, "Frame2", 1},
    {"鼠标块", 3, Kind::Label, "Frame2", 1},
    {"焦点", 1, Kind::Shape, "Frame2", 1},
    // Window panel and its pages.
    {"句柄选项", 0, Kind::OptionButton, "Frame2", 2},
    {"句柄选项", 1, Kind::OptionButton, "Frame2", 2},
    {"句柄选项", 2, Kind::OptionButton, "Frame2", 2},
    {"句柄选页", 0, Kind::Frame, "Frame2", 2},
    {"句柄选页", 1, Kind::Frame, "Frame2", 2},
    {"句柄选页", 2, Kind::Frame, "Frame2", 2},
    {"picCrossHair", -1, Kind::Picture, "句柄选页", 0},
    {"Label5", 12, Kind::Label, "句柄选页", 0},
    {"imgCursor", -1, Kind::Image, "句柄选页", 0},
    {"Check4", -1, Kind::ToggleButton, "句柄选页", 0},
    {"Label5", 9, Kind::Label, "句柄选页", 0},
    {"Text2", -1, Kind::Field, "句柄选页", 0},
    {"Command11", 7, Kind::Button, "句柄选页", 0},
    {"Command11", 8, Kind::Button, "句柄选页", 0},
    {"Label5", 11, Kind::Label, "句柄选页", 0},
    {"Text1", -1, Kind::Field, "句柄选页", 0},
    {"Command11", 9, Kind::Button, "句柄选页", 0},
    {"Label5", 10, Kind::Label, "句柄选页", 0},
    {"Text3", -1, Kind::Field, "句柄选页", 0},
    {"Label5", 13, Kind::Label, "句柄选页", 1},
    {"Label5", 14, Kind::Label, "句柄选页", 1},
    {"Text4", -1, Kind::Field, "句柄选页", 1},
    {"Command11", 10, Kind::Button, "句柄选页", 1},
    {"Command8", -1, Kind::Button, "句柄选页", 1},
    {"Text5", -1, Kind::MultiLine, "句柄选页", 1},
    {"List1", -1, Kind::List, "句柄选页", 2},
    {"Command9", -1, Kind::Button, "句柄选页", 2},
    {"Command10", -1, Kind::Button, "句柄选页", 2},
};

bool IsKind(const QWidget* w, Kind kind) {
    const auto* push = qobject_cast<const QPushButton*>(w);
    switch (kind) {
    case Kind::Frame:
        return w->inherits("QGroupBox");
    case Kind::Label:
        return w->inherits("QLabel") || w->inherits("huegrab::ReadoutLabel");
    case Kind::Field:
        return w->inherits("QLineEdit") || w->inherits("huegrab::ReadoutField");
    case Kind::MultiLine:
        return w->inherits("QPlainTextEdit");
    case Kind::CheckBox:
        return w->inherits("QCheckBox");
    case Kind::ToggleButton:
        return push != nullptr && push->isCheckable() && push->group() == nullptr;
    case Kind::Option:
        return w->inherits("QRadioButton");
    case Kind::OptionButton:
        return push != nullptr && push->isCheckable() && push->group() != nullptr &&
               push->group()->exclusive();
    case Kind::Button:
        return push != nullptr && !push->isCheckable();
    case Kind::List:
        return w->inherits("QListWidget");
    case Kind::Combo:
        return w->inherits("QComboBox");
    case Kind::Picture:
        return w->inherits("huegrab::PictureBox");
    case Kind::Image:
        return w->inherits("huegrab::IconImage");
    case Kind::Shape:
        return w->inherits("QFrame") && !w->inherits("QLabel");
    case Kind::Magnifier:
        return w->inherits("huegrab::MagnifierGrid");
    }
    return false;
}

TEST(FormWindow, TitleFixedSizeNoMaximiseIcon) {
    FormFixture f;
    EXPECT_EQ(f.form.windowTitle(), Q("Huegrab抓点／抓色v3.20.1001正式版"));
    EXPECT_EQ(f.form.size(), QSize(426, 299));
    EXPECT_EQ(f.form.minimumSize(), QSize(426, 299));
    EXPECT_EQ(f.form.maximumSize(), QSize(426, 299));
    EXPECT_FALSE(f.form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(f.form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(f.form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    const QList<QSize> sizes = f.form.windowIcon().availableSizes();
    for (const int side : {16, 32, 48}) {
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    }
}

TEST(FormLayout, EveryNamedControlExistsWithItsKindParentAndIndex) {
    FormFixture f;
    for (const Expected& e : kControls) {
        SCOPED_TRACE(Label(e.name, e.index));
        QWidget* w = f.form.Control(e.name, e.index);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->objectName(), Q(e.name));
        EXPECT_TRUE(IsKind(w, e.kind)) << w->metaObject()->className();
        if (e.index >= 0) {
            EXPECT_EQ(w->property("index").toInt(), e.index);
        } else {
            EXPECT_FALSE(w->property("index").isValid());
        }
        QWidget* parent = e.parent == nullptr ? &f.form : f.form.Control(e.parent, e.parentIndex);
        EXPECT_EQ(w->parentWidget(), parent);
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_NE(f.form.Control("色块", i), nullptr) << i;
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(f.form.Control("鼠标块", i), nullptr) << i;
        EXPECT_NE(f.form.Control("鼠标绘制", i), nullptr) << i;
    }
    for (int i = 0; i <= 10; ++i) {
        EXPECT_NE(f.form.Control("Command11", i), nullptr) << i;
    }
    for (int i = 0; i <= 23; ++i) {
        EXPECT_NE(f.form.Control("Label2", i), nullptr) << i;
    }
}

TEST(FormLayout, LookupByNameAndKind) {
    FormFixture f;
    EXPECT_EQ(f.form.Control("色块", 10), nullptr);
    EXPECT_EQ(f.form.Control("色块"), nullptr); // an array member needs its index
    EXPECT_EQ(f.form.Control("Check1", 0), nullptr);
    EXPECT_EQ(f.form.Control("nothing"), nullptr);
    EXPECT_NE(f.form.Find<QLineEdit>("自x"), nullptr);
    EXPECT_EQ(f.form.Find<QPushButton>("自x"), nullptr);
    EXPECT_EQ(f.form.Field("自x"), f.form.Find<QLineEdit>("自x"));
    EXPECT_EQ(f.form.Readout("得x"), f.form.Find<ReadoutField>("得x"));
    EXPECT_EQ(f.form.Field("得x"), nullptr);
    EXPECT_EQ(f.form.Readout("自x"), nullptr);
    EXPECT_EQ(f.form.Field("Label9"), nullptr);
    EXPECT_EQ(static_cast<QWidget*>(f.form.Controls().picked.magnifier), f.form.Control("点阵"));

    // The cursor page's two captions are labels of the page, whatever their names.
    QStringList captions;
    for (const QLabel* label : f.form.Control("Frame2", 1)->findChildren<QLabel*>()) {
        captions << label->text();
    }
    EXPECT_TRUE(captions.contains(Q("选方式："))) << captions.join(',').toStdString();
    EXPECT_TRUE(captions.contains(Q("特征码："))) << captions.join(',').toStdString();
}

// A place in twips; -1 where none is given.
struct Place {
    const char* name;
    int index;
    int left, top, width, height;
};

const Place kPlaces[] = {
    {"Frame1", 3, 240, 120, 1935, 2535},
    {"Frame1", 1, 2280, 120, 2295, 2535},
    {"Frame1", 5, 4680, 120, 1575, 1695},
    {"Label8", -1, 4680, 1905, 135, 135},
    {"Check1", -1, 4920, 1845, 1335, 255},
    {"Label9", -1, 4920, 2160, -1, -1},
    {"Frame1", 2, 4680, 2400, 1575, 735},
    {"Frame1", 0, 4680, 3240, 1575, 930},
    {"Frame2", 0, 240, 2760, 4335, 1095},
    {"Frame2", 1, 240, 2760, 4335, 1095},
    {"Frame2", 2, 240, 2760, 4335, 1095},
    {"Option2", 0, 240, 3840, 735, 330},
    {"Option2", 1, 960, 3840, 735, 330},
    {"Option2", 2, 1680, 3840, 735, 330},
    {"Label5", 6, 2520, 3900, 2055, 255},
    {"Label11", 0, 240, 4200, 2610, -1},
    {"Label7", -1, -1, 4200, -1, -1},
    // Panel rows: x 240, y 480, hex 720, decimal 960, button 1200, components
    // 1680 / 1920 / 2160 at 240, 840, 1440, 375 wide.
    {"自x", -1, -1, 240, -1, -1},
    {"自y", -1, -1, 480, -1, -1},
    {"自16", -1, -1, 720, -1, -1},
    {"自10", -1, -1, 960, -1, -1},
    {"Command2", -1, -1, 1200, -1, 495},
    {"自16r", -1, 240, 1680, 375, -1},
    {"自16g", -1, 840, 1680, 375, -1},
    {"自16b", -1, 1440, 1680, 375, -1},
    {"自10r", -1, 240, 1920, 375, -1},
    {"自10g", -1, 840, 1920, 375, -1},
    {"自10b", -1, 1440, 1920, 375, -1},
    {"自10h", -1, 240, 2160, 375, -1},
    {"自10s", -1, 840, 2160, 375, -1},
    {"自10l", -1, 1440, 2160, 375, -1},
    {"Label2", 12, 120, 1680, -1, -1},
    {"Label2", 11, 720, 1680, -1, -1},
    {"Label2", 10, 1320, 1680, -1, -1},
    {"Label2", 0, 120, 1920, -1, -1},
    {"Label2", 17, 1320, 2160, -1, -1},
    {"得x", -1, -1, 240, -1, -1},
    {"得y", -1, -1, 480, -1, -1},
    {"得16", -1, -1, 720, -1, -1},
    {"得10", -1, -1, 960, -1, -1},
    {"Label5", 0, -1, 1200, -1, 495},
    {"得16r", -1, 240, 1680, 375, -1},
    {"得10g", -1, 840, 1920, 375, -1},
    {"得10l", -1, 1440, 2160, 375, -1},
    {"Label2", 6, 120, 1680, -1, -1},
    {"Label2", 20, 1320, 2160, -1, -1},
    {"焦点", 0, 1860, 165, 135, 135},
    {"Shape1", 0, 1905, 240, 45, 2175},
    // Magnifier markers in the places of cells 59, 49, 61, 71.
    {"pd", 0, 600, 840, 135, 135},
    {"pd", 1, 720, 720, 135, 135},
    {"pd", 2, 840, 840, 135, 135},
    {"pd", 3, 720, 960, 135, 135},
    {"点阵", -1, 120, 240, 1335, 1335},
    {"Command3", -1, -1, -1, 225, 180},
    {"Command4", -1, -1, -1, 225, 180},
    // Cursor page.
    {"Combo1", -1, 1560, 300, 1575, -1},
    {"鼠标特征码", -1, 1560, 645, 1575, 270},
    {"鼠标绘制", 0, 120, 300, 615, 615},
    {"鼠标绘制", 1, 120, 300, 615, 615},
    {"鼠标绘制", 2, 120, 300, 615, 615},
    {"鼠标绘制", 3, 120, 300, 615, 615},
    {"Command7", -1, 3240, 300, 615, 615},
    {"鼠标块", 0, 4080, 120, 225, 225},
    {"鼠标块", 1, 4080, 360, 225, 225},
    {"鼠标块", 2, 4080, 600, 225, 225},
    {"鼠标块", 3, 4080, 840, 225, 225},
    {"焦点", 1, 3885, 165, 135, 135},
    {"Shape1", 1, 3930, 240, 45, 735},
    // Window panel.
    {"句柄选项", 0, 120, 240, 495, 255},
    {"句柄选项", 1, 120, 480, 495, 255},
    {"句柄选项", 2, 120, 720, 495, 255},
    {"句柄选页", 0, 720, 240, 3495, 750},
    {"句柄选页", 1, 720, 240, 3495, 750},
    {"句柄选页", 2, 720, 240, 3495, 750},
    {"picCrossHair", -1, 0, 0, 540, 540},
    {"imgCursor", -1, 480, 0, -1, -1},
};

TEST(FormLayout, ControlsStandAtTheirPlacesInTwips) {
    FormFixture f;
    for (const Place& p : kPlaces) {
        SCOPED_TRACE(Label(p.name, p.index));
        const QWidget* w = f.form.Control(p.name, p.index);
        ASSERT_NE(w, nullptr);
        const QRect g = w->geometry();
        if (p.left >= 0) {
            EXPECT_EQ(g.x(), Px(p.left));
        }
        if (p.top >= 0) {
            EXPECT_EQ(g.y(), Px(p.top));
        }
        if (p.width >= 0) {
            EXPECT_EQ(g.width(), Px(p.width));
        }
        if (p.height >= 0) {
            EXPECT_EQ(g.height(), Px(p.height));
        }
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(f.form.Control("色块", i)->geometry(),
                  QRect(Px(2040), Px(120 + 240 * i), Px(225), Px(225)))
            << i;
    }
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(f.form.Control("Command11", i)->size(), QSize(Px(225), Px(225))) << i;
    }
    // Each component caption ends where its field begins (120 twips to its left).
    for (const char* field : {"自16r", "自10g", "得10l", "查10r", "查10h"}) {
        const QWidget* w = f.form.Control(field);
        const QWidget* letter = w->parentWidget()->childAt(w->x() - Px(120) + 1, w->y() + 2);
        ASSERT_NE(letter, nullptr) << field;
        EXPECT_TRUE(letter->inherits("QLabel")) << field;
        EXPECT_EQ(letter->x(), w->x() - Px(120)) << field;
    }
}

struct Caption {
    const char* name;
    int index;
    const char* caption;
    const char* tooltip; // nullptr: no tooltip
};

const Caption kCaptions[] = {
    {"Frame1", 3, "自定义屏幕坐标", nullptr},
    {"Frame1", 1, "得到屏幕坐标／颜色", nullptr},
    {"Frame1", 5, "点阵放大显示器", nullptr},
    {"Frame1", 2, "", nullptr},
    {"Frame1", 0, "", nullptr},
    {"Label8", -1, "", "Alt+Ctrl+1 启动/停止"},
    {"Check1", -1, "启动／停止", nullptr},
    {"Label9", -1, "x:0\u3000y:0", nullptr},
    {"Option2", 0, "查颜色", nullptr},
    {"Option2", 1, "抓鼠标", nullptr},
    {"Option2", 2, "抓句柄", nullptr},
    {"Label5", 6, "[Alt+~]启动／停止", nullptr},
    {"Label7", -1, "Email：huegrab@example.org", "发送邮件"},
    {"Label1", 123, "Ｘ坐标：", nullptr},
    {"Label1", 124, "Ｙ坐标：", nullptr},
    {"Label1", 121, "Ｘ坐标：", nullptr},
    {"Label1", 122, "Ｙ坐标：", nullptr},
    {"Label5", 3, "16进制：", nullptr},
    {"Label5", 4, "10进制：", nullptr},
    {"Label5", 1, "16进制：", nullptr},
    {"Label5", 2, "10进制：", nullptr},
    {"Command2", -1, "颜色显示", nullptr},
    {"Label2", 12, "R", nullptr},
    {"Label2", 11, "G", nullptr},
    {"Label2", 10, "B", nullptr},
    {"Label2", 0, "R", nullptr},
    {"Label2", 1, "G", nullptr},
    {"Label2", 2, "B", nullptr},
    {"Label2", 15, "H", nullptr},
    {"Label2", 16, "S", nullptr},
    {"Label2", 17, "L", nullptr},
    {"Label2", 6, "R", nullptr},
    {"Label2", 5, "G", nullptr},
    {"Label2", 4, "B", nullptr},
    {"Label2", 3, "R", nullptr},
    {"Label2", 13, "G", nullptr},
    {"Label2", 14, "B", nullptr},
    {"Label2", 19, "H", nullptr},
    {"Label2", 18, "S", nullptr},
    {"Label2", 20, "L", nullptr},
    {"Label2", 23, "R", nullptr},
    {"Label2", 22, "G", nullptr},
    {"Label2", 21, "B", nullptr},
    {"Label2", 7, "H", nullptr},
    {"Label2", 8, "S", nullptr},
    {"Label2", 9, "L", nullptr},
    {"Command11", 0, "C", "复制坐标[x,y]以备粘贴使用！"},
    {"Command11", 1, "V", "粘贴来自剪切板坐标[x,y]内容！"},
    {"Command11", 2, "C", "复制颜色分量[r,g,b]以备粘贴使用！"},
    {"Command11", 3, "C", "复制颜色分量[h,s,l]以备粘贴使用！"},
    {"Command11", 4, "V", "粘贴来自剪切板坐标[x,y]内容！"},
    {"Command11", 5, "C", "复制16进制[\"颜色\"]以备粘贴使用！"},
    {"Command11", 6, "C", "复制16进制[\"颜色\"]以备粘贴使用！"},
    {"Command11", 7, "V", "粘贴来自剪切板句柄[hwnd]内容！"},
    {"Command11", 8, "F", "根据句柄查找标题和类名！"},
    {"Command11", 9, "C", "复制窗口标题[\"title\"]以备粘贴使用！"},
    {"Command11", 10, "V", "粘贴来自剪切板标题[\"title\"]内容！"},
    {"Check2", -1, "偏移抓点", nullptr},
    {"Label11", 1, "偏移量＝", nullptr},
    {"Label10", -1, "-2", nullptr},
    {"Command3", -1, "+", "偏移量加一"},
    {"Command4", -1, "-", "偏移量减一"},
    {"Check3", -1, "定位起点", nullptr},
    {"Label1", 1, "Qx：", nullptr},
    {"Label1", 0, "Qy：", nullptr},
    {"Frame2", 0, "查颜色代码的颜色", nullptr},
    {"Option1", 0, "16进制", nullptr},
    {"Option1", 1, "10进制", nullptr},
    {"Label11", 2, "16进制：", nullptr},
    {"Label11", 3, "10进制：", nullptr},
    {"Command1", -1, "颜色\n显示", nullptr},
    {"Frame2", 1, "抓鼠标形状特征", nullptr},
    {"Command7", -1, "测试\n获取", nullptr},
    {"鼠标块", 0, "1", nullptr},
    {"鼠标块", 3, "4", nullptr},
    {"Frame2", 2, "抓窗口句柄", nullptr},
    {"句柄选项", 0, "拾取", nullptr},
    {"句柄选项", 1, "搜索", nullptr},
    {"句柄选项", 2, "遍历", nullptr},
    {"Label5", 12, "准心", nullptr},
    {"Check4", -1, "P", "[按下]停止抓鼠标位置下窗口句柄！"},
    {"Label5", 9, "窗口句柄：", nullptr},
    {"Label5", 11, "窗口标题：", nullptr},
    {"Label5", 10, "窗口类名：", nullptr},
    {"Label5", 13, "支持模糊搜索", nullptr},
    {"Label5", 14, "窗口标题：", nullptr},
    {"Command8", -1, "开始", nullptr},
    {"List1", -1, "", "双击复制选中行句柄！"},
    {"Command9", -1, "开始", nullptr},
    {"Command10", -1, "复制", nullptr},
};

QString CaptionOf(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        return label->text();
    }
    if (const auto* label = qobject_cast<const ReadoutLabel*>(w)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        return button->text();
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(w)) {
        return frame->title();
    }
    return {};
}

TEST(FormLayout, CaptionsAndTooltips) {
    FormFixture f;
    for (const Caption& c : kCaptions) {
        SCOPED_TRACE(Label(c.name, c.index));
        const QWidget* w = f.form.Control(c.name, c.index);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(CaptionOf(w), Q(c.caption));
        EXPECT_EQ(w->toolTip(), c.tooltip == nullptr ? QString() : Q(c.tooltip));
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(CaptionOf(f.form.Control("色块", i)), QString::number(i + 1));
    }
    // The static colour box of the picked-value panel carries the caption once.
    EXPECT_EQ(CaptionOf(f.form.Control("Label5", 0)) + CaptionOf(f.form.Control("Label5", 5)),
              Q("颜色显示"));
    const QString credit = CaptionOf(f.form.Control("Label11", 0));
    EXPECT_TRUE(credit.contains(Q("Huegrab"))) << credit.toStdString();
}

// Each field with the label that stands before it as its caption.
struct NamedField {
    const char* field;
    const char* label;
    int labelIndex;
};

// One field of each kind in every panel.
const NamedField kNamedFields[] = {
    {"自x", "Label1", 123}, {"自16", "Label5", 3},   {"自10l", "Label2", 17},
    {"得y", "Label1", 122}, {"得16b", "Label2", 4},  {"起x", "Label1", 1},
    {"查16", "Label11", 3}, {"查10s", "Label2", 8},  {"鼠标特征码", "Label4", -1},
    {"Text2", "Label5", 9}, {"Text4", "Label5", 14},
};

// A screen reader names a field by its caption, not by the frame around it
// (which would give every field of a panel the same name).
TEST(FormLayout, FieldsAreNamedByTheirCaptionsForAccessibility) {
    FormFixture f;
    for (const NamedField& named : kNamedFields) {
        SCOPED_TRACE(named.field);
        QAccessibleInterface* field =
            QAccessible::queryAccessibleInterface(f.form.Control(named.field));
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->text(QAccessible::Name).toStdString(),
                  CaptionOf(f.form.Control(named.label, named.labelIndex)).toStdString());
    }
    // A drop-down's name is its choice; its caption labels it.
    QAccessibleInterface* combo = QAccessible::queryAccessibleInterface(f.form.Control("Combo1"));
    ASSERT_NE(combo, nullptr);
    std::vector<QObject*> labels;
    for (const auto& [label, relation] : combo->relations(QAccessible::Label))
        labels.push_back(label->object());
    EXPECT_THAT(labels, testing::Contains(f.form.Control("Label3")));
}

QColor TextColorOf(const QWidget* w) {
    if (const auto* frame = qobject_cast<const FrameBox*>(w)) {
        return frame->CaptionColor();
    }
    if (w->inherits("QLineEdit") || w->inherits("huegrab::ReadoutField")) {
        return w->palette().color(QPalette::Text);
    }
    if (w->inherits("QPushButton")) {
        return w->palette().color(QPalette::ButtonText);
    }
    return w->palette().color(QPalette::WindowText);
}

QColor BackgroundOf(const QWidget* w) {
    if (const auto* label = qobject_cast<const FilledLabel*>(w); label && label->Filled())
        return label->FillColor();
    return w->palette().color(w->inherits("QLineEdit") || w->inherits("huegrab::ReadoutField") ||
                                      w->inherits("QAbstractScrollArea")
                                  ? QPalette::Base
                                  : QPalette::Window);
}

struct Colors {
    const char* name;
    int index;
    std::optional<ColorValue> fore;
    std::optional<ColorValue> back;
};

constexpr ColorValue kRedValue = 0x0000FF;
constexpr ColorValue kBlueValue = 0xFF0000;
constexpr ColorValue kGreenValue = 0x00FF00;
constexpr ColorValue kGreyValue = 0xE1E1E1;
constexpr ColorValue kWhiteValue = 0xFFFFFF;

const Colors kColors[] = {
    {"Frame1", 3, kBlueValue, std::nullopt},   {"Frame1", 1, kRedValue, std::nullopt},
    {"Frame1", 5, kRedValue, std::nullopt},    {"Label8", -1, std::nullopt, kGreenValue},
    {"Check1", -1, kRedValue, std::nullopt},   {"Option2", 0, kBlueValue, std::nullopt},
    {"Option2", 1, kRedValue, std::nullopt},   {"Label5", 6, std::nullopt, kGreenValue},
    {"Label7", -1, kBlueValue, std::nullopt},  {"自x", -1, std::nullopt, kWhiteValue},
    {"自y", -1, std::nullopt, kWhiteValue},    {"自16", -1, std::nullopt, kGreyValue},
    {"自10", -1, std::nullopt, kGreyValue},    {"自颜色", -1, std::nullopt, kGreyValue},
    {"自16r", -1, 0x808080, kGreyValue},       {"自10g", -1, 0x808080, kGreyValue},
    {"自10l", -1, 0x808080, kGreyValue},       {"Label2", 12, kRedValue, std::nullopt},
    {"Label2", 11, 0x00C000, std::nullopt},    {"Label2", 10, kBlueValue, std::nullopt},
    {"Label2", 0, kRedValue, std::nullopt},    {"Label2", 1, 0x00C000, std::nullopt},
    {"Label2", 2, kBlueValue, std::nullopt},   {"得x", -1, std::nullopt, kGreyValue},
    {"得10", -1, std::nullopt, kGreyValue},    {"得16b", -1, 0x808080, kGreyValue},
    {"得10h", -1, 0x808080, kGreyValue},       {"色块", 0, 0xC0C0C0, kWhiteValue},
    {"色块", 9, 0xC0C0C0, kWhiteValue},        {"pd", 0, std::nullopt, kBlueValue},
    {"pd", 1, std::nullopt, kRedValue},        {"pd", 2, std::nullopt, kBlueValue},
    {"pd", 3, std::nullopt, kRedValue},        {"Check2", -1, kBlueValue, std::nullopt},
    {"Check3", -1, kBlueValue, std::nullopt},  {"Label10", -1, std::nullopt, kGreyValue},
    {"起x", -1, std::nullopt, kWhiteValue},    {"起y", -1, std::nullopt, kWhiteValue},
    {"Frame2", 0, kBlueValue, std::nullopt},   {"Frame2", 1, kRedValue, std::nullopt},
    {"查10", -1, std::nullopt, kWhiteValue},   {"查16", -1, std::nullopt, kGreyValue},
    {"查颜色", -1, std::nullopt, kGreyValue},  {"查10r", -1, 0x808080, kGreyValue},
    {"查10l", -1, 0x808080, kGreyValue},       {"鼠标特征码", -1, std::nullopt, kGreyValue},
    {"鼠标绘制", 0, std::nullopt, kGreyValue}, {"鼠标块", 0, 0xC0C0C0, kWhiteValue},
    {"鼠标块", 3, 0xC0C0C0, kWhiteValue},      {"句柄选项", 0, 0xFF00FF, std::nullopt},
    {"句柄选项", 2, 0xFF00FF, std::nullopt},   {"picCrossHair", -1, std::nullopt, kGreyValue},
    {"Text2", -1, std::nullopt, kWhiteValue},  {"Text1", -1, std::nullopt, kGreyValue},
    {"Text3", -1, std::nullopt, kGreyValue},   {"Text4", -1, std::nullopt, kWhiteValue},
    {"List1", -1, std::nullopt, kGreyValue},
};

TEST(FormLayout, ColorsOfTextAndBackground) {
    FormFixture f;
    for (const Colors& c : kColors) {
        SCOPED_TRACE(Label(c.name, c.index));
        const QWidget* w = f.form.Control(c.name, c.index);
        ASSERT_NE(w, nullptr);
        if (c.fore) {
            EXPECT_EQ(TextColorOf(w), ToQColor(*c.fore));
            EXPECT_EQ(ForeColor(w), *c.fore);
        }
        if (c.back) {
            EXPECT_EQ(BackgroundOf(w), ToQColor(*c.back));
            EXPECT_EQ(BackColor(w), *c.back);
        }
    }
    // Black captions stay black; a frame's caption colour does not reach its contents.
    EXPECT_EQ(TextColorOf(f.form.Control("Frame2", 2)), QColor(Qt::black));
    EXPECT_EQ(TextColorOf(f.form.Control("Label1", 123)),
              TextColorOf(f.form.Control("Label1", 121)));
    EXPECT_NE(TextColorOf(f.form.Control("Label1", 123)), ToQColor(kBlueValue));
    EXPECT_NE(TextColorOf(f.form.Control("Option1", 0)), ToQColor(kBlueValue));
}

// Under a dark theme (light text on dark fills) the text of every control
// the window gives a fill of its own still stands out from that fill:
// typed coordinates, readouts, the offset amount, the hotkey reminder.
TEST(FormLayout, TextOnTheWindowsOwnFillsShowsUnderADarkTheme) {
    const QPalette before = QApplication::palette();
    QPalette dark = before;
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        dark.setColor(role, QColor(40, 40, 40));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(240, 240, 240));
    QApplication::setPalette(dark);
    {
        FormFixture f;
        const std::pair<const char*, int> kFilled[] = {
            {"自x", -1},   {"得16", -1},    {"得10", -1},  {"起x", -1},
            {"查10", -1},  {"查16", -1},    {"Text2", -1}, {"Text1", -1},
            {"List1", -1}, {"Label10", -1}, {"Label5", 6}};
        for (const auto& [name, index] : kFilled) {
            SCOPED_TRACE(Label(name, index));
            const QWidget* w = f.form.Control(name, index);
            ASSERT_NE(w, nullptr);
            const QColor text = w->palette().color(
                qobject_cast<const QLabel*>(w) != nullptr ? QPalette::WindowText : QPalette::Text);
            EXPECT_GE(std::abs(text.lightness() - BackgroundOf(w).lightness()), 100)
                << text.name().toStdString() << " on " << BackgroundOf(w).name().toStdString();
        }
    }
    QApplication::setPalette(before);
}

TEST(FormLayout, StartStateOfTheDefaultsTable) {
    FormFixture f;
    Form1& form = f.form;
    // The sampling timer is the tracking handler's (tests/app/start_stop_test).
    EXPECT_EQ(form.findChild<QTimer*>(Q("Timer1")), nullptr);

    for (const char* box : {"Check1", "Check2", "Check3", "Check4"}) {
        EXPECT_FALSE(form.Find<QAbstractButton>(box)->isChecked()) << box;
    }
    EXPECT_FALSE(form.Control("Command3")->isEnabled());
    EXPECT_FALSE(form.Control("Command4")->isEnabled());
    EXPECT_TRUE(form.Control("Command11", 0)->isEnabled());

    const bool modes[] = {true, false, false};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(form.Find<QAbstractButton>("Option2", k)->isChecked(), modes[k]) << k;
        EXPECT_EQ(form.Control("Frame2", k)->isVisibleTo(&form), modes[k]) << k;
        EXPECT_EQ(form.Find<QAbstractButton>("句柄选项", k)->isChecked(), modes[k]) << k;
        EXPECT_EQ(form.Control("句柄选页", k)->isVisibleTo(form.Control("Frame2", 2)), modes[k])
            << k;
    }
    EXPECT_TRUE(form.Find<QRadioButton>("Option1", 0)->isChecked());
    EXPECT_FALSE(form.Find<QRadioButton>("Option1", 1)->isChecked());

    EXPECT_EQ(form.Field("起x")->text(), Q("0"));
    EXPECT_EQ(form.Field("起y")->text(), Q("0"));
    for (const char* name : {"自x", "自y", "起x", "起y"}) {
        EXPECT_EQ(form.Field(name)->maxLength(), 4) << name;
    }
    EXPECT_EQ(form.Field("查10")->maxLength(), 6);
    EXPECT_EQ(form.Field("查16")->maxLength(), 9);

    // Inputs are editable, outputs are not.
    for (const char* input : {"自x", "自y", "起x", "起y", "查10", "Text2", "Text4"}) {
        EXPECT_FALSE(form.Field(input)->isReadOnly()) << input;
    }
    for (const char* output : {"查16", "Text1", "Text3", "鼠标特征码"}) {
        EXPECT_TRUE(form.Field(output)->isReadOnly()) << output;
    }
    // The readings are readouts, which take no typing at all.
    for (const char* reading :
         {"得x", "得y", "得16", "得10", "自16", "自10", "得10r", "自16b", "查10l"}) {
        EXPECT_NE(form.Readout(reading), nullptr) << reading;
    }
    for (const char* centred : {"得16r", "得10s", "自10b", "查10h"}) {
        EXPECT_TRUE(form.Readout(centred)->alignment() & Qt::AlignHCenter) << centred;
    }
    for (const ReadoutField* readout : form.findChildren<ReadoutField*>()) {
        EXPECT_TRUE(readout->text().isEmpty()) << readout->objectName().toStdString();
    }
    // All other text fields start empty.
    for (const QLineEdit* field : form.findChildren<QLineEdit*>()) {
        if (field->objectName() == Q("起x") || field->objectName() == Q("起y") ||
            field->objectName().startsWith(Q("qt_"))) {
            continue;
        }
        EXPECT_TRUE(field->text().isEmpty()) << field->objectName().toStdString();
    }
    const auto* results = form.Find<QPlainTextEdit>("Text5");
    EXPECT_TRUE(results->toPlainText().isEmpty());
    EXPECT_TRUE(results->isReadOnly());
    EXPECT_EQ(results->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(form.Find<QListWidget>("List1")->count(), 0);

    const auto* methods = form.Find<QComboBox>("Combo1");
    ASSERT_EQ(methods->count(), 3);
    EXPECT_EQ(methods->itemText(0), Q("默认方式"));
    EXPECT_EQ(methods->itemText(1), Q("方式一"));
    EXPECT_EQ(methods->itemText(2), Q("方式二(New)!"));
    EXPECT_EQ(methods->currentIndex(), 0);
    EXPECT_FALSE(methods->isEditable());

    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(form.Control("鼠标绘制", i)->isVisibleTo(form.Control("Frame2", 1)), i == 0);
    }
    // Both focus markers stand beside their first slot, centred on it.
    EXPECT_EQ(form.Control("焦点", 0)->y(), form.Control("色块", 0)->y() + 3);
    EXPECT_EQ(form.Control("焦点", 1)->y(), form.Control("鼠标块", 0)->y() + 3);
    // The crosshair starts released: not draggable, grey.
    EXPECT_FALSE(form.Control("picCrossHair")->isEnabled());

    for (const char* slot : {"色块", "鼠标块"}) {
        EXPECT_EQ(form.Control(slot, 0)->cursor().shape(), Qt::PointingHandCursor) << slot;
    }
    EXPECT_EQ(form.Control("Label7")->cursor().shape(), Qt::PointingHandCursor);
}

// The controls that sit directly in the window or in a frame.
std::vector<QWidget*> ControlsIn(QWidget* container) {
    std::vector<QWidget*> controls;
    for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->objectName().isEmpty() && !child->objectName().startsWith(Q("qt_"))) {
            controls.push_back(child);
        }
    }
    return controls;
}

std::vector<QWidget*> Containers(Form1& form) {
    std::vector<QWidget*> containers{&form};
    for (QGroupBox* frame : form.findChildren<QGroupBox*>()) {
        containers.push_back(frame);
    }
    return containers;
}

bool Named(const QWidget* w, const char* name) {
    return w->objectName() == Q(name);
}

bool Is(const QWidget* w, const char* name, int index) {
    return Named(w, name) && w->property("index").toInt() == index;
}

// Overlaps the layout means to have.
bool OverlapIsIntended(const QWidget* a, const QWidget* b, const QRect& common) {
    const auto pair = [&](const char* x, const char* y) {
        return (Named(a, x) && Named(b, y)) || (Named(a, y) && Named(b, x));
    };
    // Stacked pages and drawing boxes share one place; one shows at a time.
    if (a->objectName() == b->objectName() && a->geometry() == b->geometry()) {
        return true;
    }
    // Focus markers lie on their bar; centre markers on the magnifier; the
    // static caption inside its box.
    const bool captionInBox =
        (Is(a, "Label5", 0) && Is(b, "Label5", 5)) || (Is(a, "Label5", 5) && Is(b, "Label5", 0));
    if (pair("焦点", "Shape1") || pair("pd", "点阵") || captionInBox) {
        return true;
    }
    // The mode buttons sit on the page frame's lower edge, and the window
    // panel's selectors share their borders: one pixel row at most.
    if (pair("Frame2", "Option2") || pair("句柄选项", "句柄选项")) {
        return common.height() == 1;
    }
    // The button beside a swatch (1200 + 495 twips) reaches into the component
    // row at 1680, and so does its static counterpart.
    const auto swatchButton = [](const QWidget* w) {
        return Named(w, "Command2") || Is(w, "Label5", 0);
    };
    if (swatchButton(a) || swatchButton(b)) {
        return common.height() == 1 && common.top() == Px(1680);
    }
    // Neighbouring mode buttons share their edge column (240 + 735 > 960),
    // and the centre markers touch corner to corner like the cells they replace.
    if (pair("Option2", "Option2")) {
        return common.width() == 1;
    }
    if (pair("pd", "pd")) {
        return common.size() == QSize(1, 1);
    }
    return false;
}

TEST(FormLayout, NoControlOverlapsAnotherOrLeavesItsContainer) {
    FormFixture f;
    for (QWidget* container : Containers(f.form)) {
        const std::vector<QWidget*> controls = ControlsIn(container);
        const QString where = container->objectName();
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const QWidget* a = controls[i];
            const QRect g = a->geometry();
            EXPECT_TRUE(g.isEmpty() ? container->rect().contains(g.topLeft())
                                    : container->rect().contains(g))
                << a->objectName().toStdString() << " leaves " << where.toStdString();
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                const QWidget* b = controls[j];
                const QRect common = a->geometry().intersected(b->geometry());
                if (common.isEmpty() || OverlapIsIntended(a, b, common)) {
                    continue;
                }
                ADD_FAILURE() << a->objectName().toStdString() << a->property("index").toInt()
                              << " overlaps " << b->objectName().toStdString()
                              << b->property("index").toInt() << " in " << where.toStdString();
            }
        }
    }
    // Markers over the magnifier and bars lie above them, not below (the
    // centre markers stay hidden, drawn by the magnifier: their stacking).
    const QWidget* frame = f.form.Control("Frame1", 5);
    EXPECT_GT(frame->children().indexOf(f.form.Control("pd", 1)),
              frame->children().indexOf(f.form.Control("点阵")));
    const QWidget* panel = f.form.Control("Frame1", 1);
    EXPECT_EQ(panel->childAt(Px(1905) + 1, Px(240) + 1), f.form.Control("焦点", 0));
}

// The room a control's caption needs: the advance of its widest line for
// buttons and check boxes (plus indicator), the ink for labels (whose text
// may use the label's whole width); the ink height of all lines.
QSize NeededSize(const QWidget* w, const QString& text) {
    const QFontMetrics metrics(w->font());
    const QStringList lines = text.split(QLatin1Char('\n'));
    int width = 0;
    int inkHeight = 0;
    for (const QString& line : lines) {
        const QRect ink = metrics.tightBoundingRect(line);
        width =
            std::max(width, w->inherits("QLabel") ? ink.width() : metrics.horizontalAdvance(line));
        inkHeight = std::max(inkHeight, ink.height());
    }
    int height = static_cast<int>(lines.size() - 1) * metrics.lineSpacing() + inkHeight;
    if (w->inherits("QCheckBox") || w->inherits("QRadioButton")) {
        const bool check = w->inherits("QCheckBox");
        width += w->style()->pixelMetric(check ? QStyle::PM_IndicatorWidth
                                               : QStyle::PM_ExclusiveIndicatorWidth,
                                         nullptr, w) +
                 w->style()->pixelMetric(check ? QStyle::PM_CheckBoxLabelSpacing
                                               : QStyle::PM_RadioButtonLabelSpacing,
                                         nullptr, w);
    } else if (w->inherits("QPushButton")) {
        width += 2; // the button's edge
        height += 2;
    }
    // A label's text is drawn over its whole area: in a bordered label it may
    // touch the border ("10" in a 15-pixel slot), but no more.
    return {width, height};
}

TEST(FormLayout, EveryCaptionFitsItsControl) {
    FormFixture f;
    for (QWidget* container : Containers(f.form)) {
        for (const QWidget* w : ControlsIn(container)) {
            const QString text = CaptionOf(w);
            if (text.isEmpty() || w->inherits("QGroupBox")) {
                continue;
            }
            const std::string what = w->objectName().toStdString() + "(" +
                                     w->property("index").toString().toStdString() + ")";
            const QSize needed = NeededSize(w, text);
            EXPECT_LE(needed.width(), w->width()) << what;
            EXPECT_LE(needed.height(), w->height()) << what;
        }
    }
    for (QGroupBox* frame : f.form.findChildren<QGroupBox*>()) {
        const QFontMetrics metrics(frame->font());
        EXPECT_LE(metrics.horizontalAdvance(frame->title()) + 16, frame->width())
            << frame->objectName().toStdString();
    }
}

// Without CJK fonts the window falls back to a wide Latin font such as
// DejaVu Sans; the raw position of a full-HD screen must still fit whole.
TEST(FormLayout, RawPositionFitsInAWideFallbackFont) {
    FormFixture f;
    QFont wide(QStringLiteral("DejaVu Sans"));
    wide.setPixelSize(12);
    if (QFontInfo(wide).family() != wide.family())
        GTEST_SKIP() << "DejaVu Sans is not installed";
    f.form.setFont(wide);
    const QWidget* raw = f.form.Control("Label9");
    ASSERT_NE(raw, nullptr);
    EXPECT_LE(NeededSize(raw, Q("x:1919\u3000y:1079")).width(), raw->width());
}

} // namespace
} // namespace huegrab
