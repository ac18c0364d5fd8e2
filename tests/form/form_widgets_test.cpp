// SPDX-License-Identifier: GPL-3.0-or-later
// The window's building blocks: colour helpers, the picture box, the
// clickable label, the text placement of small controls and the icons.
#include "app/form/clickable_label.h"
#include "app/form/filled_label.h"
#include "app/form/form_colors.h"
#include "app/form/form_icons.h"
#include "app/form/form_style.h"
#include "app/form/frame_box.h"
#include "app/form/picture_box.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace huegrab {
namespace {

QFont SmallCjkFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("sans-serif")});
    font.setPixelSize(12);
    return font;
}

TEST(FormColors, ValuesAreBlueGreenRed) {
    EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(0x00FF00), QColor(0, 255, 0));
    EXPECT_EQ(ToQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(ToQColor(0x123456), QColor(0x56, 0x34, 0x12));
    EXPECT_EQ(ToQColor(-1), QColor(0, 0, 0));
    EXPECT_EQ(FromQColor(QColor(0x56, 0x34, 0x12)), 0x123456);
    EXPECT_EQ(FromQColor(ToQColor(0xE1E1E1)), 0xE1E1E1);
}

TEST(FormColors, BackColorPaintsAndReadsBack) {
    QLabel label;
    label.resize(20, 20);
    EXPECT_EQ(BackColor(&label), -1);
    SetBackColor(&label, 0x0000FF);
    EXPECT_EQ(BackColor(&label), 0x0000FF);
    EXPECT_EQ(label.property("backColor").toLongLong(), 0xFF);
    EXPECT_EQ(label.grab().toImage().pixelColor(10, 10), QColor(255, 0, 0));

    SetBackColor(&label, -1); // an unreadable pixel
    EXPECT_EQ(label.grab().toImage().pixelColor(10, 10), QColor(0, 0, 0));

    SetBackColor(&label, kSystemWindowColor);
    EXPECT_EQ(BackColor(&label), kSystemWindowColor);
    EXPECT_EQ(label.property("backColor").toLongLong(), 0x80000005LL);
    EXPECT_TRUE(label.property("systemBackColor").toBool());
    EXPECT_EQ(label.grab().toImage().pixelColor(10, 10),
              QApplication::palette(&label).color(QPalette::Base));

    SetBackColor(&label, 0xFFFFFF);
    EXPECT_FALSE(label.property("systemBackColor").toBool());
}

// An empty slot shows the system colour; when the theme changes it, the
// slot follows as the rest of the window does, and a set colour stays.
TEST(FormColors, ASystemColorFillFollowsTheTheme) {
    QWidget window;
    auto* system = new FilledLabel(&window); // owned by the window
    auto* red = new FilledLabel(&window);
    system->resize(20, 20);
    SetBackColor(system, kSystemWindowColor);
    SetBackColor(red, 0x0000FF);
    const QPalette before = QApplication::palette();
    QPalette changed = before;
    changed.setColor(QPalette::Base, QColor(12, 34, 56));
    QApplication::setPalette(changed);
    EXPECT_EQ(system->FillColor(), QColor(12, 34, 56));
    EXPECT_EQ(system->grab().toImage().pixelColor(10, 10), QColor(12, 34, 56));
    EXPECT_EQ(BackColor(system), kSystemWindowColor);
    EXPECT_EQ(red->FillColor(), QColor(255, 0, 0));
    QApplication::setPalette(before);
    EXPECT_EQ(system->FillColor(), before.color(QPalette::Base));
}

TEST(FormColors, TextFieldBackgroundFollows) {
    QLineEdit field;
    field.resize(60, 20);
    SetBackColor(&field, 0xFFFFFF);
    SetBackColor(&field, 0xE1E1E1);
    EXPECT_EQ(field.grab().toImage().pixelColor(30, 10), QColor(0xE1, 0xE1, 0xE1));
}

// The window's labels paint their back colour themselves: each change, a
// return to an earlier colour and the system colour included, must look as a
// plain label with the colour in its palette does, text and frame on top.
// Framed and centred as the slots (the label's own indent, and none, as the
// window builds them), and frameless on the left with a longer caption.
TEST(FormColors, FilledLabelsLookLikePaletteLabels) {
    const struct {
        bool framed;
        int indent;
        Qt::Alignment alignment;
        const char* caption;
    } looks[] = {{true, -1, Qt::AlignCenter, "10"},
                 {true, 0, Qt::AlignCenter, "10"},
                 {false, -1, Qt::AlignLeft | Qt::AlignVCenter, "x:12 gy"}};
    for (const auto& look : looks) {
        QWidget window;
        QPalette ground = window.palette();
        ground.setColor(QPalette::Window, QColor(255, 255, 0));
        window.setPalette(ground);
        window.setAutoFillBackground(true);
        window.resize(90, 20);
        auto* filled = new ClickableLabel(&window);
        auto* twin = new QLabel(&window);
        for (QLabel* label : {static_cast<QLabel*>(filled), twin}) {
            label->setStyle(SharedFormStyle());
            label->setFont(SmallCjkFont());
            label->setTextFormat(Qt::PlainText);
            label->setText(QString::fromUtf8(look.caption));
            label->setAlignment(look.alignment);
            if (look.framed)
                label->setFrameStyle(QFrame::Box | QFrame::Plain);
            label->setIndent(look.indent);
            label->resize(40, 20);
            SetForeColor(label, kSilver);
        }
        twin->move(45, 0);
        EXPECT_EQ(BackColor(filled), -1);

        const ColorValue colors[] = {
            kWhite, 0x336699, 0x336699,           kRed, 0x336699,
            -1,     kWhite,   kSystemWindowColor, kRed, kSystemWindowColor};
        for (const ColorValue color : colors) {
            SCOPED_TRACE(testing::Message()
                         << look.caption << " indent " << look.indent << " colour " << color);
            SetBackColor(filled, color);
            SetBackColor(twin, color);
            EXPECT_EQ(BackColor(filled), color);
            const QImage shown = window.grab().toImage();
            const QImage own = shown.copy(filled->geometry());
            EXPECT_EQ(own, shown.copy(twin->geometry()));
            const QColor expected = color == kSystemWindowColor
                                        ? QApplication::palette(filled).color(QPalette::Base)
                                        : ToQColor(color);
            EXPECT_EQ(own.pixelColor(2, 2), expected); // inside the frame, clear of the text
        }
    }
}

TEST(FormColors, FrameCaptionColorStaysWithTheFrame) {
    FrameBox frame;
    auto* inside = new QLabel(QStringLiteral("x"), &frame);
    const QColor before = inside->palette().color(QPalette::WindowText);
    SetForeColor(&frame, 0xFF0000);
    EXPECT_EQ(frame.CaptionColor(), QColor(0, 0, 255));
    EXPECT_EQ(ForeColor(&frame), 0xFF0000);
    EXPECT_EQ(inside->palette().color(QPalette::WindowText), before);

    SetForeColor(inside, 0x0000FF);
    EXPECT_EQ(inside->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    // Disabled text keeps the style's grey.
    EXPECT_NE(inside->palette().color(QPalette::Disabled, QPalette::WindowText), QColor(255, 0, 0));
}

class PictureBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        box.resize(41, 41); // 615 twips
        SetBackColor(&box, 0xE1E1E1);
    }
    PictureBox box;
};

TEST_F(PictureBoxTest, DrawingInsideTheBorderInDevicePixels) {
    EXPECT_EQ(box.CanvasSize(), QSize(39, 39));
    EXPECT_EQ(box.Pixel(0, 0), 0xE1E1E1);
    box.SetPixel(3, 4, 0x0000FF);
    EXPECT_EQ(box.Pixel(3, 4), 0x0000FF);
    EXPECT_EQ(box.Pixel(4, 3), 0xE1E1E1);
    box.SetPixel(39, 0, 0x0000FF); // outside: ignored
    EXPECT_EQ(box.Pixel(39, 0), -1);
    // On screen the drawing starts inside the one-pixel border.
    EXPECT_EQ(box.grab().toImage().pixelColor(1 + 3, 1 + 4), QColor(255, 0, 0));
    box.Clear();
    EXPECT_EQ(box.Pixel(3, 4), 0xE1E1E1);
}

TEST_F(PictureBoxTest, ImagesComposeOverThePictureAndBackground) {
    QPixmap picture(4, 4);
    picture.fill(QColor(0, 255, 0));
    box.SetPicture(picture);
    QImage cursor(2, 2, QImage::Format_ARGB32);
    cursor.fill(Qt::transparent);
    cursor.setPixelColor(0, 0, QColor(0, 0, 255));
    box.DrawImage(1, 1, cursor);
    EXPECT_EQ(box.Pixel(1, 1), 0xFF0000);   // drawn
    EXPECT_EQ(box.Pixel(2, 2), 0x00FF00);   // transparent: the picture shows
    EXPECT_EQ(box.Pixel(10, 10), 0xE1E1E1); // background
    box.ClearPicture();
    EXPECT_EQ(box.Pixel(2, 2), 0xE1E1E1);
    EXPECT_EQ(box.Pixel(1, 1), 0xFF0000);
}

TEST_F(PictureBoxTest, DrawingSurvivesHidingAndBackgroundChanges) {
    box.show();
    box.SetPixel(5, 5, 0x00FF00);
    box.hide();
    SetBackColor(&box, 0xFFFFFF);
    box.show();
    EXPECT_EQ(box.Pixel(5, 5), 0x00FF00);
    EXPECT_EQ(box.Pixel(6, 6), 0xFFFFFF);
}

TEST(ClickableLabelTest, LeftClickInsideIsAClick) {
    ClickableLabel label;
    label.resize(30, 12);
    QSignalSpy clicks(&label, &ClickableLabel::clicked);
    QTest::mouseClick(&label, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(&label, Qt::RightButton);
    QTest::mouseRelease(&label, Qt::LeftButton); // no press before it
    EXPECT_EQ(clicks.count(), 1);
}

// Qt hands the second press of a double click to the widget under the
// pointer as a double-click event: press, release, double click, release.
// On the same label that is one click; on a neighbour it is its own click.
TEST(ClickableLabelTest, TheSecondPressOfADoubleClickCountsOnANeighbour) {
    const struct {
        bool sameLabel;
        int firstClicks;
        int secondClicks;
    } cases[] = {{true, 1, 0}, {false, 1, 1}};
    for (const auto& c : cases) {
        ClickableLabel first;
        ClickableLabel second;
        for (ClickableLabel* label : {&first, &second})
            label->resize(15, 15);
        QSignalSpy firstClicks(&first, &ClickableLabel::clicked);
        QSignalSpy secondClicks(&second, &ClickableLabel::clicked);
        auto send = [](ClickableLabel& label, QEvent::Type type) {
            const bool down = type != QEvent::MouseButtonRelease;
            QMouseEvent event(type, QPointF(7, 7), label.mapToGlobal(QPointF(7, 7)), Qt::LeftButton,
                              down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&label, &event);
        };
        ClickableLabel& target = c.sameLabel ? first : second;
        send(first, QEvent::MouseButtonPress);
        send(first, QEvent::MouseButtonRelease);
        send(target, QEvent::MouseButtonDblClick);
        send(target, QEvent::MouseButtonRelease);
        EXPECT_EQ(firstClicks.count(), c.firstClicks) << c.sameLabel;
        EXPECT_EQ(secondClicks.count(), c.secondClicks) << c.sameLabel;
    }
}

// Rows that hold ink, from the first to the last.
std::pair<int, int> InkRows(const QImage& image, const QColor& ground) {
    int first = -1;
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != ground) {
                if (first < 0) {
                    first = y;
                }
                last = y;
                break;
            }
        }
    }
    return {first, last};
}

QImage RenderLabel(const QString& text, int height) {
    QLabel label(text);
    label.setStyle(SharedFormStyle());
    label.setFont(SmallCjkFont());
    label.setAlignment(Qt::AlignCenter);
    label.resize(80, height);
    SetBackColor(&label, 0xFFFFFF);
    return label.grab().toImage();
}

TEST(FormStyleTest, OneLineLabelsShowTheirWholeTextCentred) {
    // Ideographs, capitals and descenders: 15 rows of ink at 12 pixels.
    const QString text = QString::fromUtf8("坐标Hgy");
    const auto tall = InkRows(RenderLabel(text, 40), Qt::white);
    const auto low = InkRows(RenderLabel(text, 15), Qt::white);
    ASSERT_GE(tall.first, 0);
    ASSERT_GE(low.first, 0);
    // Not clipped: as many inked rows as with room to spare...
    EXPECT_EQ(low.second - low.first, tall.second - tall.first);
    // ...about as much free above as below, where Qt's own centring of the
    // font's tall line box would push the text down and cut its descenders.
    EXPECT_LE(std::abs(low.first - (14 - low.second)), 1);
}

QImage RenderField(const QString& text, int height) {
    QLineEdit field(text);
    field.setStyle(SharedFormStyle());
    field.setFont(SmallCjkFont());
    field.resize(60, height);
    SetBackColor(&field, 0xFFFFFF);
    FitFieldText(&field);
    // Only the inside, without the frame.
    return field.grab().toImage().copy(2, 2, 56, height - 4);
}

TEST(FormStyleTest, LowFieldsShowWholeDigits) {
    const auto tall = InkRows(RenderField(QStringLiteral("16777215"), 30), Qt::white);
    const auto low = InkRows(RenderField(QStringLiteral("16777215"), 15), Qt::white);
    ASSERT_GE(low.first, 0);
    EXPECT_EQ(low.second - low.first, tall.second - tall.first);
    EXPECT_GT(low.first, 0); // not cut at the top of the inside
    EXPECT_LT(low.second, 15 - 4 - 1);
}

TEST(FormIcons, WindowIconAndCrosshair) {
    for (const int side : {16, 32, 48}) {
        const QImage image = AppIconPixmap(side).toImage();
        EXPECT_EQ(image.size(), QSize(side, side));
        EXPECT_GT(image.pixelColor(side / 2, side * 3 / 4).alpha(), 0) << side;
    }
    const QImage cross = CrosshairPixmap().toImage();
    ASSERT_EQ(cross.size(), QSize(32, 32));
    EXPECT_EQ(cross.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(cross.pixelColor(31, 31).alpha(), 0);
    EXPECT_GT(cross.pixelColor(kCrosshairCentre, 3).alpha(), 0); // the cross's arm
    EXPECT_GT(cross.pixelColor(kCrosshairCentre, kCrosshairCentre).alpha(), 0);
    EXPECT_EQ(CrosshairCursor().hotSpot(), QPoint(kCrosshairCentre, kCrosshairCentre));
    // Drawn for a scaled desktop, it has twice the pixels and the same logical size.
    const QPixmap scaled = CrosshairPixmap(2.0);
    EXPECT_EQ(scaled.size(), QSize(64, 64));
    EXPECT_EQ(scaled.deviceIndependentSize(), QSizeF(32, 32));
}

} // namespace
} // namespace huegrab
