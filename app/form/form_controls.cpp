// SPDX-License-Identifier: GPL-3.0-or-later
// The one place that finds controls by name: every handle the handlers use
// is looked up here, once, right after the layout is built.

#include "app/form/form_controls.h"

#include "app/form/clickable_label.h"
#include "app/form/icon_image.h"
#include "app/form/magnifier_grid.h"
#include "app/form/picture_box.h"
#include "app/form/readout_field.h"
#include "app/form/readout_label.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace huegrab {
namespace {

class Resolver {
public:
    Resolver(const ControlLookup& lookup, std::vector<std::string>& problems)
        : lookup_(lookup), problems_(problems) {}

    template <class T> void Bind(T*& handle, std::string_view name, int index = -1) {
        QWidget* widget = lookup_(name, index);
        handle = qobject_cast<T*>(widget);
        if (handle != nullptr)
            return;
        std::string where(name);
        if (index >= 0)
            where += "(" + std::to_string(index) + ")";
        problems_.push_back(widget == nullptr ? "no control " + where
                                              : "control " + where + " is a " +
                                                    widget->metaObject()->className() + ", not a " +
                                                    T::staticMetaObject.className());
    }

    template <class T, std::size_t N>
    void BindArray(std::array<T*, N>& handles, std::string_view name) {
        for (std::size_t i = 0; i < N; ++i)
            Bind(handles[i], name, static_cast<int>(i));
    }

    // The eleven fields of a colour readout, named by prefix: 得16, 得10,
    // 得16r … 得10l. A panel without the two code fields passes false.
    void BindReadout(ColorReadout& readout, std::string_view prefix, bool withCodes) {
        const std::string p(prefix);
        if (withCodes) {
            Bind(readout.hex, p + "16");
            Bind(readout.value, p + "10");
            Bind(readout.rHex, p + "16r");
            Bind(readout.gHex, p + "16g");
            Bind(readout.bHex, p + "16b");
        }
        Bind(readout.r, p + "10r");
        Bind(readout.g, p + "10g");
        Bind(readout.b, p + "10b");
        Bind(readout.h, p + "10h");
        Bind(readout.s, p + "10s");
        Bind(readout.l, p + "10l");
    }

private:
    const ControlLookup& lookup_;
    std::vector<std::string>& problems_;
};

} // namespace

FormControls ResolveFormControls(const ControlLookup& lookup, std::vector<std::string>& problems) {
    Resolver r(lookup, problems);
    FormControls c;

    r.Bind(c.tracking.startStop, "Check1");
    r.Bind(c.tracking.lamp, "Label8");
    r.Bind(c.tracking.hotkeyCaption, "Label5", 6);
    r.Bind(c.tracking.rawPosition, "Label9");

    r.Bind(c.picked.x, "得x");
    r.Bind(c.picked.y, "得y");
    r.BindReadout(c.picked.color, "得", true);
    r.Bind(c.picked.swatch, "得颜色");
    r.Bind(c.picked.magnifier, "点阵");
    r.BindArray(c.picked.slotLabels, "色块");
    r.Bind(c.picked.slotMarker, "焦点", 0);

    r.Bind(c.offset.enable, "Check2");
    r.Bind(c.offset.plus, "Command3");
    r.Bind(c.offset.minus, "Command4");
    r.Bind(c.offset.amount, "Label10");

    r.Bind(c.origin.enable, "Check3");
    r.Bind(c.origin.x, "起x");
    r.Bind(c.origin.y, "起y");

    r.Bind(c.customPoint.x, "自x");
    r.Bind(c.customPoint.y, "自y");
    r.Bind(c.customPoint.read, "Command2");
    r.Bind(c.customPoint.swatch, "自颜色");
    r.BindReadout(c.customPoint.color, "自", true);

    r.BindArray(c.modes.buttons, "Option2");
    r.BindArray(c.modes.pages, "Frame2");

    r.Bind(c.lookup.hexKind, "Option1", 0);
    r.Bind(c.lookup.decimalKind, "Option1", 1);
    r.Bind(c.lookup.hexCode, "查10");
    r.Bind(c.lookup.decimalCode, "查16");
    r.Bind(c.lookup.show, "Command1");
    r.Bind(c.lookup.swatch, "查颜色");
    r.BindReadout(c.lookup.color, "查", false);

    r.Bind(c.cursor.method, "Combo1");
    r.Bind(c.cursor.code, "鼠标特征码");
    r.Bind(c.cursor.test, "Command7");
    r.BindArray(c.cursor.drawings, "鼠标绘制");
    r.BindArray(c.cursor.slotLabels, "鼠标块");
    r.Bind(c.cursor.slotMarker, "焦点", 1);

    r.BindArray(c.window.pageButtons, "句柄选项");
    r.BindArray(c.window.pages, "句柄选页");
    r.Bind(c.window.crossHair, "picCrossHair");
    r.Bind(c.window.crossHairImage, "imgCursor");
    r.Bind(c.window.handle, "Text2");
    r.Bind(c.window.title, "Text1");
    r.Bind(c.window.className, "Text3");
    r.Bind(c.window.probe, "Check4");
    r.Bind(c.window.searchText, "Text4");
    r.Bind(c.window.searchResults, "Text5");
    r.Bind(c.window.search, "Command8");
    r.Bind(c.window.windowList, "List1");
    r.Bind(c.window.list, "Command9");
    r.Bind(c.window.copyList, "Command10");

    r.Bind(c.clipboard.copyPickedPoint, "Command11", 0);
    r.Bind(c.clipboard.pasteCustomPoint, "Command11", 1);
    r.Bind(c.clipboard.copyLookupRgb, "Command11", 2);
    r.Bind(c.clipboard.copyLookupHsl, "Command11", 3);
    r.Bind(c.clipboard.pasteOrigin, "Command11", 4);
    r.Bind(c.clipboard.copyPickedHex, "Command11", 5);
    r.Bind(c.clipboard.copyCustomPointHex, "Command11", 6);
    r.Bind(c.clipboard.pasteWindowHandle, "Command11", 7);
    r.Bind(c.clipboard.findWindowByHandle, "Command11", 8);
    r.Bind(c.clipboard.copyWindowTitle, "Command11", 9);
    r.Bind(c.clipboard.pasteSearchTitle, "Command11", 10);
    r.Bind(c.contact, "Label7");
    return c;
}

} // namespace huegrab
