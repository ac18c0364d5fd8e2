// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/layout_table.h"

#include "app/form/form_colors.h"

#include <QtGlobal> // QT_TRANSLATE_NOOP: the captions are the Chinese source texts

namespace huegrab {
namespace {

using K = ControlKind;

constexpr ControlRef kForm{};
constexpr ControlRef Frame1(int index) {
    return {"Frame1", index};
}
constexpr ControlRef Frame2(int index) {
    return {"Frame2", index};
}
constexpr ControlRef WindowPage(int index) {
    return {"句柄选页", index};
}

// Panel geometry shared by the custom-coordinate and picked-value panels (twips).
constexpr int kRowHeight = 225;
constexpr int kCaptionLeft = 90;
constexpr int kCaptionWidth = 750;
constexpr int kFieldLeft = 840;
constexpr int kFieldWidth = 735;
constexpr int kWideFieldWidth = 990;
constexpr int kButtonLeft = 1605;
constexpr int kButtonSize = 225;
constexpr int kSwatchRowHeight = 480;
// The button beside the swatch (and its static counterpart in the picked-value
// panel) is a little taller than the swatch: it reaches one pixel row into
// the component row below.
constexpr int kSwatchButtonHeight = 495;
// One line of text with CJK ideographs and Latin descenders needs 15 pixels
// of ink at the window's 12-pixel font; 180 twips (12 pixels) would cut it.
constexpr int kTextLineHeight = 225;

// Rows that recur.
constexpr ControlRow Caption(std::string_view name, int index, ControlRef parent, TwipsRect rect,
                             std::string_view caption,
                             std::optional<ColorValue> fore = std::nullopt) {
    return {.name = name,
            .index = index,
            .kind = K::Label,
            .parent = parent,
            .rect = rect,
            .caption = caption,
            .foreColor = fore};
}
// A white field the user types into.
constexpr ControlRow Input(std::string_view name, ControlRef parent, TwipsRect rect,
                           int maxLength = 0) {
    return {.name = name,
            .kind = K::TextBox,
            .parent = parent,
            .rect = rect,
            .backColor = kWhite,
            .maxLength = maxLength};
}
// A grey read-only field the program writes: a line edit, or a readout for
// the readings rewritten on every tick.
constexpr ControlRow GreyOutput(std::string_view name, ControlRef parent, TwipsRect rect,
                                ControlKind kind) {
    return {.name = name,
            .kind = kind,
            .parent = parent,
            .rect = rect,
            .backColor = kLightGrey,
            .flags = kReadOnly};
}
constexpr ControlRow Output(std::string_view name, ControlRef parent, TwipsRect rect) {
    return GreyOutput(name, parent, rect, K::TextBox);
}
constexpr ControlRow Reading(std::string_view name, ControlRef parent, TwipsRect rect) {
    return GreyOutput(name, parent, rect, K::Readout);
}
// A component output: grey, read-only, centred grey text.
constexpr ControlRow Component(std::string_view name, ControlRef parent, int left, int top) {
    return {.name = name,
            .kind = K::Readout,
            .parent = parent,
            .rect = {left, top, 375, kRowHeight},
            .foreColor = kGreyText,
            .backColor = kLightGrey,
            .flags = kReadOnly | kCentred};
}
// The one-letter label 120 twips left of a component field.
constexpr ControlRow Letter(int index, ControlRef parent, int fieldLeft, int top,
                            std::string_view letter,
                            std::optional<ColorValue> fore = std::nullopt) {
    return {.name = "Label2",
            .index = index,
            .kind = K::Label,
            .parent = parent,
            .rect = {fieldLeft - 120, top, 120, kRowHeight},
            .caption = letter,
            .foreColor = fore,
            .flags = kCentred};
}
constexpr ControlRow SmallButton(int index, ControlRef parent, int left, int top,
                                 std::string_view caption, std::string_view tooltip) {
    return {.name = "Command11",
            .index = index,
            .kind = K::CommandButton,
            .parent = parent,
            .rect = {left, top, kButtonSize, kButtonSize},
            .caption = caption,
            .tooltip = tooltip};
}
// A numbered slot: white square, silver centred number, pointing hand.
constexpr ControlRow Slot(std::string_view name, int index, ControlRef parent, int left, int top,
                          std::string_view caption) {
    return {.name = name,
            .index = index,
            .kind = K::Label,
            .parent = parent,
            .rect = {left, top, 225, 225},
            .caption = caption,
            .foreColor = kSilver,
            .backColor = kWhite,
            .flags = kBordered | kCentred | kHandPointer};
}
constexpr ControlRow Bar(int index, ControlRef parent, TwipsRect rect) {
    return {.name = "Shape1",
            .index = index,
            .kind = K::Shape,
            .parent = parent,
            .rect = rect,
            .backColor = kGreyText};
}
constexpr ControlRow FocusMarker(int index, ControlRef parent, int left, int top) {
    return {.name = "焦点",
            .index = index,
            .kind = K::Shape,
            .parent = parent,
            .rect = {left, top, 135, 135},
            .backColor = kRed};
}
// A centre marker of the magnifier, in the place of a hidden cell.
constexpr ControlRow CentreMarker(int index, int left, int top, ColorValue color) {
    return {.name = "pd",
            .index = index,
            .kind = K::CentreMarker,
            .parent = Frame1(5),
            .rect = {left, top, 135, 135},
            .backColor = color,
            .flags = kBordered};
}

constexpr char kCopyPoint[] = QT_TRANSLATE_NOOP("Form1", "复制坐标[x,y]以备粘贴使用！");
constexpr char kPastePoint[] = QT_TRANSLATE_NOOP("Form1", "粘贴来自剪切板坐标[x,y]内容！");
constexpr char kCopyHex[] = QT_TRANSLATE_NOOP("Form1", "复制16进制[\"颜色\"]以备粘贴使用！");
constexpr char kCopyRgb[] = QT_TRANSLATE_NOOP("Form1", "复制颜色分量[r,g,b]以备粘贴使用！");
constexpr char kCopyHsl[] = QT_TRANSLATE_NOOP("Form1", "复制颜色分量[h,s,l]以备粘贴使用！");
constexpr char kPasteHandle[] = QT_TRANSLATE_NOOP("Form1", "粘贴来自剪切板句柄[hwnd]内容！");
constexpr char kFindByHandle[] = QT_TRANSLATE_NOOP("Form1", "根据句柄查找标题和类名！");
constexpr char kCopyTitle[] = QT_TRANSLATE_NOOP("Form1", "复制窗口标题[\"title\"]以备粘贴使用！");
constexpr char kPasteTitle[] = QT_TRANSLATE_NOOP("Form1", "粘贴来自剪切板标题[\"title\"]内容！");

constexpr ControlRow kLayout[] = {
    // First in the tab order: the start/stop switch holds the focus.
    {.name = "Check1",
     .kind = K::CheckBox,
     .parent = kForm,
     .rect = {4920, 1845, 1335, 255},
     .caption = QT_TRANSLATE_NOOP("Form1", "启动／停止"),
     .foreColor = kRed},

    // ---- Custom-coordinate panel ----
    {.name = "Frame1",
     .index = 3,
     .kind = K::Frame,
     .parent = kForm,
     .rect = {240, 120, 1935, 2535},
     .caption = QT_TRANSLATE_NOOP("Form1", "自定义屏幕坐标"),
     .foreColor = kBlue},
    Caption("Label1", 123, Frame1(3), {kCaptionLeft, 240, kCaptionWidth, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "Ｘ坐标：")),
    Input("自x", Frame1(3), {kFieldLeft, 240, kFieldWidth, kRowHeight}, 4),
    SmallButton(1, Frame1(3), kButtonLeft, 240, "V", kPastePoint),
    Caption("Label1", 124, Frame1(3), {kCaptionLeft, 480, kCaptionWidth, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "Ｙ坐标：")),
    Input("自y", Frame1(3), {kFieldLeft, 480, kFieldWidth, kRowHeight}, 4),
    Caption("Label5", 3, Frame1(3), {kCaptionLeft, 720, kCaptionWidth, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "16进制：")),
    Reading("自16", Frame1(3), {kFieldLeft, 720, kFieldWidth, kRowHeight}),
    SmallButton(6, Frame1(3), kButtonLeft, 720, "C", kCopyHex),
    Caption("Label5", 4, Frame1(3), {kCaptionLeft, 960, kCaptionWidth, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "10进制：")),
    Reading("自10", Frame1(3), {kFieldLeft, 960, kWideFieldWidth, kRowHeight}),
    {.name = "Command2",
     .kind = K::CommandButton,
     .parent = Frame1(3),
     .rect = {120, 1200, 840, kSwatchButtonHeight},
     .caption = QT_TRANSLATE_NOOP("Form1", "颜色显示")},
    {.name = "自颜色",
     .kind = K::Label,
     .parent = Frame1(3),
     .rect = {1005, 1200, 825, kSwatchRowHeight},
     .backColor = kLightGrey,
     .flags = kBordered},
    Letter(12, Frame1(3), 240, 1680, "R", kRed),
    Component("自16r", Frame1(3), 240, 1680),
    Letter(11, Frame1(3), 840, 1680, "G", kDarkGreen),
    Component("自16g", Frame1(3), 840, 1680),
    Letter(10, Frame1(3), 1440, 1680, "B", kBlue),
    Component("自16b", Frame1(3), 1440, 1680),
    Letter(0, Frame1(3), 240, 1920, "R", kRed),
    Component("自10r", Frame1(3), 240, 1920),
    Letter(1, Frame1(3), 840, 1920, "G", kDarkGreen),
    Component("自10g", Frame1(3), 840, 1920),
    Letter(2, Frame1(3), 1440, 1920, "B", kBlue),
    Component("自10b", Frame1(3), 1440, 1920),
    Letter(15, Frame1(3), 240, 2160, "H"),
    Component("自10h", Frame1(3), 240, 2160),
    Letter(16, Frame1(3), 840, 2160, "S"),
    Component("自10s", Frame1(3), 840, 2160),
    Letter(17, Frame1(3), 1440, 2160, "L"),
    Component("自10l", Frame1(3), 1440, 2160),

    // ---- Picked-value panel and colour slots ----
    {.name = "Frame1",
     .index = 1,
     .kind = K::Frame,
     .parent = kForm,
     .rect = {2280, 120, 2295, 2535},
     .caption = QT_TRANSLATE_NOOP("Form1", "得到屏幕坐标／颜色"),
     .foreColor = kRed},
    Caption("Label1", 121, Frame1(1), {kCaptionLeft, 240, kCaptionWidth, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "Ｘ坐标：")),
    Reading("得x", Frame1(1), {kFieldLeft, 240, kFieldWidth, kRowHeight}),
    SmallButton(0, Frame1(1), kButtonLeft, 240, "C", kCopyPoint),
    Caption("Label1", 122, Frame1(1), {kCaptionLeft, 480, kCaptionWidth, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "Ｙ坐标：")),
    Reading("得y", Frame1(1), {kFieldLeft, 480, kFieldWidth, kRowHeight}),
    Caption("Label5", 1, Frame1(1), {kCaptionLeft, 720, kCaptionWidth, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "16进制：")),
    Reading("得16", Frame1(1), {kFieldLeft, 720, kFieldWidth, kRowHeight}),
    SmallButton(5, Frame1(1), kButtonLeft, 720, "C", kCopyHex),
    Caption("Label5", 2, Frame1(1), {kCaptionLeft, 960, kCaptionWidth, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "10进制：")),
    Reading("得10", Frame1(1), {kFieldLeft, 960, kWideFieldWidth, kRowHeight}),
    // A static box in the place where the custom panel has its button.
    {.name = "Label5",
     .index = 0,
     .kind = K::Label,
     .parent = Frame1(1),
     .rect = {120, 1200, 840, kSwatchButtonHeight},
     .flags = kBordered},
    {.name = "Label5",
     .index = 5,
     .kind = K::Label,
     .parent = Frame1(1),
     .rect = {135, 1215, 810, kSwatchButtonHeight - 30},
     .caption = QT_TRANSLATE_NOOP("Form1", "颜色显示"),
     .flags = kCentred},
    {.name = "得颜色",
     .kind = K::Label,
     .parent = Frame1(1),
     .rect = {1005, 1200, 825, kSwatchRowHeight},
     .backColor = kLightGrey,
     .flags = kBordered},
    Letter(6, Frame1(1), 240, 1680, "R", kRed),
    Component("得16r", Frame1(1), 240, 1680),
    Letter(5, Frame1(1), 840, 1680, "G", kDarkGreen),
    Component("得16g", Frame1(1), 840, 1680),
    Letter(4, Frame1(1), 1440, 1680, "B", kBlue),
    Component("得16b", Frame1(1), 1440, 1680),
    Letter(3, Frame1(1), 240, 1920, "R", kRed),
    Component("得10r", Frame1(1), 240, 1920),
    Letter(13, Frame1(1), 840, 1920, "G", kDarkGreen),
    Component("得10g", Frame1(1), 840, 1920),
    Letter(14, Frame1(1), 1440, 1920, "B", kBlue),
    Component("得10b", Frame1(1), 1440, 1920),
    Letter(19, Frame1(1), 240, 2160, "H"),
    Component("得10h", Frame1(1), 240, 2160),
    Letter(18, Frame1(1), 840, 2160, "S"),
    Component("得10s", Frame1(1), 840, 2160),
    Letter(20, Frame1(1), 1440, 2160, "L"),
    Component("得10l", Frame1(1), 1440, 2160),
    Bar(0, Frame1(1), {1905, 240, 45, 2175}),
    FocusMarker(0, Frame1(1), 1860, 165), // above the bar
    Slot("色块", 0, Frame1(1), 2040, 120, "1"),
    Slot("色块", 1, Frame1(1), 2040, 360, "2"),
    Slot("色块", 2, Frame1(1), 2040, 600, "3"),
    Slot("色块", 3, Frame1(1), 2040, 840, "4"),
    Slot("色块", 4, Frame1(1), 2040, 1080, "5"),
    Slot("色块", 5, Frame1(1), 2040, 1320, "6"),
    Slot("色块", 6, Frame1(1), 2040, 1560, "7"),
    Slot("色块", 7, Frame1(1), 2040, 1800, "8"),
    Slot("色块", 8, Frame1(1), 2040, 2040, "9"),
    Slot("色块", 9, Frame1(1), 2040, 2280, "10"),

    // ---- Magnifier ----
    {.name = "Frame1",
     .index = 5,
     .kind = K::Frame,
     .parent = kForm,
     .rect = {4680, 120, 1575, 1695},
     .caption = QT_TRANSLATE_NOOP("Form1", "点阵放大显示器"),
     .foreColor = kRed},
    // The 121 cells at 120 + 120 * column, 240 + 120 * row, 135 square.
    {.name = "点阵", .kind = K::Magnifier, .parent = Frame1(5), .rect = {120, 240, 1335, 1335}},
    CentreMarker(0, 600, 840, kBlue),
    CentreMarker(1, 720, 720, kRed),
    CentreMarker(2, 840, 840, kBlue),
    CentreMarker(3, 720, 960, kRed),

    // ---- Start/stop ----
    {.name = "Label8",
     .kind = K::Label,
     .parent = kForm,
     .rect = {4680, 1905, 135, 135},
     .tooltip = QT_TRANSLATE_NOOP("Form1", "Alt+Ctrl+1 启动/停止"),
     .backColor = kGreen},
    // Wide to the window's right edge rather than 720 twips so that
    // four-digit positions fit, also in a wide fallback font (DejaVu Sans
    // where no CJK font is installed), and kTextLineHeight high so that
    // descenders show.
    {.name = "Label9",
     .kind = K::ReadoutLabel,
     .parent = kForm,
     .rect = {4920, 2160, kClientWidthTwips - 4920, kTextLineHeight},
     .caption = "x:0　y:0"},

    // ---- Offset picking ----
    {.name = "Frame1",
     .index = 2,
     .kind = K::Frame,
     .parent = kForm,
     .rect = {4680, 2400, 1575, 735}},
    {.name = "Check2",
     .kind = K::CheckBox,
     .parent = Frame1(2),
     .rect = {120, 0, 1035, 255},
     .caption = QT_TRANSLATE_NOOP("Form1", "偏移抓点"),
     .foreColor = kBlue,
     .flags = kCaptionPlace},
    Caption("Label11", 1, Frame1(2), {120, 315, 720, 255}, QT_TRANSLATE_NOOP("Form1", "偏移量＝")),
    {.name = "Label10",
     .kind = K::Label,
     .parent = Frame1(2),
     .rect = {855, 315, 330, 255},
     .caption = "-2",
     .backColor = kLightGrey,
     .flags = kBordered | kCentred},
    {.name = "Command3",
     .kind = K::CommandButton,
     .parent = Frame1(2),
     .rect = {1260, 270, 225, 180},
     .caption = "+",
     .tooltip = QT_TRANSLATE_NOOP("Form1", "偏移量加一"),
     .flags = kDisabled},
    {.name = "Command4",
     .kind = K::CommandButton,
     .parent = Frame1(2),
     .rect = {1260, 450, 225, 180},
     .caption = "-",
     .tooltip = QT_TRANSLATE_NOOP("Form1", "偏移量减一"),
     .flags = kDisabled},

    // ---- Origin for relative coordinates ----
    {.name = "Frame1",
     .index = 0,
     .kind = K::Frame,
     .parent = kForm,
     .rect = {4680, 3240, 1575, 930}},
    {.name = "Check3",
     .kind = K::CheckBox,
     .parent = Frame1(0),
     .rect = {120, 0, 1035, 255},
     .caption = QT_TRANSLATE_NOOP("Form1", "定位起点"),
     .foreColor = kBlue,
     .flags = kCaptionPlace},
    Caption("Label1", 1, Frame1(0), {120, 330, 435, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "Qx：")),
    {.name = "起x",
     .kind = K::TextBox,
     .parent = Frame1(0),
     .rect = {555, 330, 600, kRowHeight},
     .caption = "0",
     .backColor = kWhite,
     .maxLength = 4},
    Caption("Label1", 0, Frame1(0), {120, 600, 435, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "Qy：")),
    {.name = "起y",
     .kind = K::TextBox,
     .parent = Frame1(0),
     .rect = {555, 600, 600, kRowHeight},
     .caption = "0",
     .backColor = kWhite,
     .maxLength = 4},
    SmallButton(4, Frame1(0), 1260, 465, "V", kPastePoint),

    // ---- Mode pages ----
    {.name = "Frame2",
     .index = 0,
     .kind = K::Frame,
     .parent = kForm,
     .rect = {240, 2760, 4335, 1095},
     .caption = QT_TRANSLATE_NOOP("Form1", "查颜色代码的颜色"),
     .foreColor = kBlue},
    {.name = "Option1",
     .index = 0,
     .kind = K::OptionButton,
     .parent = Frame2(0),
     .rect = {120, 240, 900, kRowHeight},
     .caption = QT_TRANSLATE_NOOP("Form1", "16进制"),
     .flags = kChecked},
    {.name = "Option1",
     .index = 1,
     .kind = K::OptionButton,
     .parent = Frame2(0),
     .rect = {120, 480, 900, kRowHeight},
     .caption = QT_TRANSLATE_NOOP("Form1", "10进制")},
    Caption("Label11", 2, Frame2(0), {1080, 240, 780, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "16进制：")),
    Input("查10", Frame2(0), {1860, 240, 900, kRowHeight}, 6),
    Caption("Label11", 3, Frame2(0), {1080, 480, 780, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "10进制：")),
    {.name = "查16",
     .kind = K::TextBox,
     .parent = Frame2(0),
     .rect = {1860, 480, 900, kRowHeight},
     .backColor = kLightGrey,
     .flags = kReadOnly,
     .maxLength = 9},
    {.name = "Command1",
     .kind = K::CommandButton,
     .parent = Frame2(0),
     .rect = {2880, 240, 555, 495},
     .caption = QT_TRANSLATE_NOOP("Form1", "颜色\n显示")},
    {.name = "查颜色",
     .kind = K::Label,
     .parent = Frame2(0),
     .rect = {3495, 240, 720, 480},
     .backColor = kLightGrey,
     .flags = kBordered},
    Letter(23, Frame2(0), 240, 765, "R", kRed),
    Component("查10r", Frame2(0), 240, 765),
    Letter(22, Frame2(0), 840, 765, "G", kDarkGreen),
    Component("查10g", Frame2(0), 840, 765),
    Letter(21, Frame2(0), 1440, 765, "B", kBlue),
    Component("查10b", Frame2(0), 1440, 765),
    SmallButton(2, Frame2(0), 1860, 765, "C", kCopyRgb),
    Letter(7, Frame2(0), 2280, 765, "H"),
    Component("查10h", Frame2(0), 2280, 765),
    Letter(8, Frame2(0), 2880, 765, "S"),
    Component("查10s", Frame2(0), 2880, 765),
    Letter(9, Frame2(0), 3480, 765, "L"),
    Component("查10l", Frame2(0), 3480, 765),
    SmallButton(3, Frame2(0), 3900, 765, "C", kCopyHsl),

    {.name = "Frame2",
     .index = 1,
     .kind = K::Frame,
     .parent = kForm,
     .rect = {240, 2760, 4335, 1095},
     .caption = QT_TRANSLATE_NOOP("Form1", "抓鼠标形状特征"),
     .foreColor = kRed,
     .flags = kHidden},
    {.name = "鼠标绘制",
     .index = 0,
     .kind = K::PictureBox,
     .parent = Frame2(1),
     .rect = {120, 300, 615, 615},
     .backColor = kLightGrey},
    {.name = "鼠标绘制",
     .index = 1,
     .kind = K::PictureBox,
     .parent = Frame2(1),
     .rect = {120, 300, 615, 615},
     .backColor = kLightGrey,
     .flags = kHidden},
    {.name = "鼠标绘制",
     .index = 2,
     .kind = K::PictureBox,
     .parent = Frame2(1),
     .rect = {120, 300, 615, 615},
     .backColor = kLightGrey,
     .flags = kHidden},
    {.name = "鼠标绘制",
     .index = 3,
     .kind = K::PictureBox,
     .parent = Frame2(1),
     .rect = {120, 300, 615, 615},
     .backColor = kLightGrey,
     .flags = kHidden},
    Caption("Label3", -1, Frame2(1), {780, 300, 780, 300}, QT_TRANSLATE_NOOP("Form1", "选方式：")),
    {.name = "Combo1", .kind = K::ComboBox, .parent = Frame2(1), .rect = {1560, 300, 1575, 300}},
    Caption("Label4", -1, Frame2(1), {780, 645, 780, 270}, QT_TRANSLATE_NOOP("Form1", "特征码：")),
    Output("鼠标特征码", Frame2(1), {1560, 645, 1575, 270}),
    {.name = "Command7",
     .kind = K::CommandButton,
     .parent = Frame2(1),
     .rect = {3240, 300, 615, 615},
     .caption = QT_TRANSLATE_NOOP("Form1", "测试\n获取")},
    Bar(1, Frame2(1), {3930, 240, 45, 735}),
    FocusMarker(1, Frame2(1), 3885, 165), // above the bar
    Slot("鼠标块", 0, Frame2(1), 4080, 120, "1"),
    Slot("鼠标块", 1, Frame2(1), 4080, 360, "2"),
    Slot("鼠标块", 2, Frame2(1), 4080, 600, "3"),
    Slot("鼠标块", 3, Frame2(1), 4080, 840, "4"),

    {.name = "Frame2",
     .index = 2,
     .kind = K::Frame,
     .parent = kForm,
     .rect = {240, 2760, 4335, 1095},
     .caption = QT_TRANSLATE_NOOP("Form1", "抓窗口句柄"),
     .flags = kHidden},
    {.name = "句柄选项",
     .index = 0,
     .kind = K::OptionButtonAsPushButton,
     .parent = Frame2(2),
     .rect = {120, 240, 495, 255},
     .caption = QT_TRANSLATE_NOOP("Form1", "拾取"),
     .foreColor = kMagenta,
     .flags = kChecked},
    {.name = "句柄选项",
     .index = 1,
     .kind = K::OptionButtonAsPushButton,
     .parent = Frame2(2),
     .rect = {120, 480, 495, 255},
     .caption = QT_TRANSLATE_NOOP("Form1", "搜索"),
     .foreColor = kMagenta},
    {.name = "句柄选项",
     .index = 2,
     .kind = K::OptionButtonAsPushButton,
     .parent = Frame2(2),
     .rect = {120, 720, 495, 255},
     .caption = QT_TRANSLATE_NOOP("Form1", "遍历"),
     .foreColor = kMagenta},
    {.name = "句柄选页",
     .index = 0,
     .kind = K::Frame,
     .parent = Frame2(2),
     .rect = {720, 240, 3495, 750},
     .flags = kBorderless},
    {.name = "句柄选页",
     .index = 1,
     .kind = K::Frame,
     .parent = Frame2(2),
     .rect = {720, 240, 3495, 750},
     .flags = kBorderless | kHidden},
    {.name = "句柄选页",
     .index = 2,
     .kind = K::Frame,
     .parent = Frame2(2),
     .rect = {720, 240, 3495, 750},
     .flags = kBorderless | kHidden},

    // Pick page.
    {.name = "picCrossHair",
     .kind = K::PictureBox,
     .parent = WindowPage(0),
     .rect = {0, 0, 540, 540},
     .backColor = kLightGrey,
     .flags = kDisabled},
    Caption("Label5", 12, WindowPage(0), {0, 540, 540, 210}, QT_TRANSLATE_NOOP("Form1", "准心"),
            kDarkGreen),
    {.name = "imgCursor", .kind = K::Image, .parent = WindowPage(0), .rect = {480, 0, 0, 0}},
    Caption("Label5", 9, WindowPage(0), {600, 0, 900, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "窗口句柄：")),
    Input("Text2", WindowPage(0), {1500, 0, 1260, kRowHeight}),
    SmallButton(7, WindowPage(0), 2790, 0, "V", kPasteHandle),
    SmallButton(8, WindowPage(0), 3030, 0, "F", kFindByHandle),
    {.name = "Check4",
     .kind = K::CheckBoxButton,
     .parent = WindowPage(0),
     .rect = {3270, 0, 225, 225},
     .caption = "P",
     .tooltip = QT_TRANSLATE_NOOP("Form1", "[按下]停止抓鼠标位置下窗口句柄！")},
    Caption("Label5", 11, WindowPage(0), {600, 255, 900, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "窗口标题：")),
    Output("Text1", WindowPage(0), {1500, 255, 1740, kRowHeight}),
    SmallButton(9, WindowPage(0), 3270, 255, "C", kCopyTitle),
    Caption("Label5", 10, WindowPage(0), {600, 510, 900, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "窗口类名：")),
    Output("Text3", WindowPage(0), {1500, 510, 1995, kRowHeight}),

    // Search page.
    Caption("Label5", 14, WindowPage(1), {0, 0, 900, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "窗口标题：")),
    Input("Text4", WindowPage(1), {900, 0, 1170, kRowHeight}),
    SmallButton(10, WindowPage(1), 2100, 0, "V", kPasteTitle),
    Caption("Label5", 13, WindowPage(1), {2400, 0, 1095, kRowHeight},
            QT_TRANSLATE_NOOP("Form1", "支持模糊搜索"), kDarkGreen),
    {.name = "Text5",
     .kind = K::MultiLineTextBox,
     .parent = WindowPage(1),
     .rect = {0, 270, 2940, 480},
     .backColor = kLightGrey,
     .flags = kReadOnly},
    {.name = "Command8",
     .kind = K::CommandButton,
     .parent = WindowPage(1),
     .rect = {3015, 270, 480, 480},
     .caption = QT_TRANSLATE_NOOP("Form1", "开始")},

    // Enumerate page.
    {.name = "List1",
     .kind = K::ListBox,
     .parent = WindowPage(2),
     .rect = {0, 0, 2940, 750},
     .tooltip = QT_TRANSLATE_NOOP("Form1", "双击复制选中行句柄！"),
     .backColor = kLightGrey},
    {.name = "Command9",
     .kind = K::CommandButton,
     .parent = WindowPage(2),
     .rect = {3015, 0, 480, 360},
     .caption = QT_TRANSLATE_NOOP("Form1", "开始")},
    {.name = "Command10",
     .kind = K::CommandButton,
     .parent = WindowPage(2),
     .rect = {3015, 390, 480, 360},
     .caption = QT_TRANSLATE_NOOP("Form1", "复制")},

    // ---- Mode buttons and status line ----
    {.name = "Option2",
     .index = 0,
     .kind = K::OptionButtonAsPushButton,
     .parent = kForm,
     .rect = {240, 3840, 735, 330},
     .caption = QT_TRANSLATE_NOOP("Form1", "查颜色"),
     .foreColor = kBlue,
     .flags = kChecked},
    {.name = "Option2",
     .index = 1,
     .kind = K::OptionButtonAsPushButton,
     .parent = kForm,
     .rect = {960, 3840, 735, 330},
     .caption = QT_TRANSLATE_NOOP("Form1", "抓鼠标"),
     .foreColor = kRed},
    {.name = "Option2",
     .index = 2,
     .kind = K::OptionButtonAsPushButton,
     .parent = kForm,
     .rect = {1680, 3840, 735, 330},
     .caption = QT_TRANSLATE_NOOP("Form1", "抓句柄")},
    {.name = "Label5",
     .index = 6,
     .kind = K::Label,
     .parent = kForm,
     .rect = {2520, 3900, 2055, 255},
     .caption = QT_TRANSLATE_NOOP("Form1", "[Alt+~]启动／停止"),
     .backColor = kGreen,
     .flags = kBordered | kCentred},
    {.name = "Label11",
     .index = 0,
     .kind = K::Label,
     .parent = kForm,
     .rect = {240, 4200, 2610, kTextLineHeight},
     .caption = QT_TRANSLATE_NOOP("Form1", "Huegrab 取点取色工具"),
     .tooltip = QT_TRANSLATE_NOOP("Form1", "Huegrab：屏幕取点、取色与窗口信息工具")},
    // Starts at 3600 rather than 3840 twips and runs 2700 wide so that the
    // whole address shows.
    {.name = "Label7",
     .kind = K::Label,
     .parent = kForm,
     .rect = {3600, 4200, 2700, kTextLineHeight},
     .caption = QT_TRANSLATE_NOOP("Form1", "Email：huegrab@example.org"),
     .tooltip = QT_TRANSLATE_NOOP("Form1", "发送邮件"),
     .foreColor = kBlue,
     .flags = kHandPointer},
};

} // namespace

std::span<const ControlRow> LayoutTable() {
    return kLayout;
}

std::optional<TwipsRect> ClientTwips(ControlRef control) {
    TwipsRect rect;
    bool found = false;
    while (!control.name.empty()) {
        const ControlRow* row = nullptr;
        for (const ControlRow& candidate : LayoutTable())
            if (candidate.name == control.name && candidate.index == control.index)
                row = &candidate;
        if (!row)
            return std::nullopt;
        if (!found) {
            rect = row->rect;
            found = true;
        } else {
            rect.left += row->rect.left;
            rect.top += row->rect.top;
        }
        control = row->parent;
    }
    return rect;
}

} // namespace huegrab
