// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/color_slots.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace huegrab {

class ClickableLabel;
class IconImage;
class MagnifierGrid;
class PictureBox;
class ReadoutField;
class ReadoutLabel;

inline constexpr int kCursorSlotCount = 4;
inline constexpr int kPageCount = 3;

// The fields one panel shows a colour in; nullptr is a form the panel does
// not show.
struct ColorReadout {
    ReadoutField* hex = nullptr;
    ReadoutField* value = nullptr;
    ReadoutField* rHex = nullptr;
    ReadoutField* gHex = nullptr;
    ReadoutField* bHex = nullptr;
    ReadoutField* r = nullptr;
    ReadoutField* g = nullptr;
    ReadoutField* b = nullptr;
    ReadoutField* h = nullptr;
    ReadoutField* s = nullptr;
    ReadoutField* l = nullptr;
};

// Start/stop and the status line; the sampling timer is the tracking
// handler's own.
struct TrackingView {
    QCheckBox* startStop = nullptr;      // Check1
    QLabel* lamp = nullptr;              // Label8
    QLabel* hotkeyCaption = nullptr;     // Label5(6), "[Alt+~]启动／停止"
    ReadoutLabel* rawPosition = nullptr; // Label9
};

// The picked values, their swatch, magnifier and the ten colour slots.
struct PickedPanel {
    ReadoutField* x = nullptr;
    ReadoutField* y = nullptr;
    ColorReadout color;
    QLabel* swatch = nullptr; // 得颜色
    MagnifierGrid* magnifier = nullptr;
    std::array<ClickableLabel*, kColorSlotCount> slotLabels{}; // 色块
    QFrame* slotMarker = nullptr;                              // 焦点(0)
};

struct OffsetPanel {
    QCheckBox* enable = nullptr;  // Check2
    QPushButton* plus = nullptr;  // Command3
    QPushButton* minus = nullptr; // Command4
    QLabel* amount = nullptr;     // Label10
};

struct OriginPanel {
    QCheckBox* enable = nullptr; // Check3
    QLineEdit* x = nullptr;
    QLineEdit* y = nullptr;
};

struct CustomPointPanel {
    QLineEdit* x = nullptr;
    QLineEdit* y = nullptr;
    QPushButton* read = nullptr; // Command2
    QLabel* swatch = nullptr;
    ColorReadout color;
};

// Mode page 0: the colour-code lookup.
struct LookupPage {
    QRadioButton* hexKind = nullptr;     // Option1(0)
    QRadioButton* decimalKind = nullptr; // Option1(1)
    QLineEdit* hexCode = nullptr;        // 查10
    QLineEdit* decimalCode = nullptr;    // 查16
    QPushButton* show = nullptr;         // Command1
    QLabel* swatch = nullptr;
    ColorReadout color;
};

// Mode page 1: the cursor feature code and its four slots.
struct CursorPanel {
    QComboBox* method = nullptr;                                // Combo1
    QLineEdit* code = nullptr;                                  // 鼠标特征码
    QPushButton* test = nullptr;                                // Command7
    std::array<PictureBox*, kCursorSlotCount> drawings{};       // 鼠标绘制
    std::array<ClickableLabel*, kCursorSlotCount> slotLabels{}; // 鼠标块
    QFrame* slotMarker = nullptr;                               // 焦点(1)
};

// Mode page 2: the window panel and its three sub-pages.
struct WindowPanel {
    std::array<QAbstractButton*, kPageCount> pageButtons{}; // 句柄选项
    std::array<QWidget*, kPageCount> pages{};               // 句柄选页
    PictureBox* crossHair = nullptr;                        // picCrossHair
    IconImage* crossHairImage = nullptr;                    // imgCursor
    QLineEdit* handle = nullptr;                            // Text2
    QLineEdit* title = nullptr;                             // Text1
    QLineEdit* className = nullptr;                         // Text3
    QPushButton* probe = nullptr;                           // Check4
    QLineEdit* searchText = nullptr;                        // Text4
    QPlainTextEdit* searchResults = nullptr;                // Text5
    QPushButton* search = nullptr;                          // Command8
    QListWidget* windowList = nullptr;                      // List1
    QPushButton* list = nullptr;                            // Command9
    QPushButton* copyList = nullptr;                        // Command10
};

// The small "C", "V" and "F" buttons beside the fields they copy from,
// paste into or look up, by what each does.
struct ClipboardButtons {
    QPushButton* copyPickedPoint = nullptr;    // Command11(0)
    QPushButton* pasteCustomPoint = nullptr;   // Command11(1)
    QPushButton* copyLookupRgb = nullptr;      // Command11(2)
    QPushButton* copyLookupHsl = nullptr;      // Command11(3)
    QPushButton* pasteOrigin = nullptr;        // Command11(4)
    QPushButton* copyPickedHex = nullptr;      // Command11(5)
    QPushButton* copyCustomPointHex = nullptr; // Command11(6)
    QPushButton* pasteWindowHandle = nullptr;  // Command11(7)
    QPushButton* findWindowByHandle = nullptr; // Command11(8)
    QPushButton* copyWindowTitle = nullptr;    // Command11(9)
    QPushButton* pasteSearchTitle = nullptr;   // Command11(10)
};

struct ModePages {
    std::array<QAbstractButton*, kPageCount> buttons{}; // Option2
    std::array<QWidget*, kPageCount> pages{};           // Frame2
};

// Every control a handler or the form itself uses, resolved once from the
// built layout. No handler looks a control up by name.
struct FormControls {
    TrackingView tracking;
    PickedPanel picked;
    OffsetPanel offset;
    OriginPanel origin;
    CustomPointPanel customPoint;
    ModePages modes;
    LookupPage lookup;
    CursorPanel cursor;
    WindowPanel window;
    ClipboardButtons clipboard;
    ClickableLabel* contact = nullptr; // Label7
};

// The built control with this name and index (-1 for a single control).
using ControlLookup = std::function<QWidget*(std::string_view name, int index)>;

// Resolves every handle. Each name that is missing or of another class than
// its handle adds one line to `problems`; the handle stays nullptr.
FormControls ResolveFormControls(const ControlLookup& lookup, std::vector<std::string>& problems);

} // namespace huegrab
