// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_panel_controls.h"

#include "app/color_fields.h"
#include "app/form/form1.h"
#include "app/form/form_colors.h"
#include "app/form/icon_image.h"
#include "app/form/picture_box.h"
#include "windowtools/window_probe.h"
#include "windowtools/window_walk.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWindow>

namespace huegrab {

WindowPanelControls::WindowPanelControls(Form1& form, PointerAndKeyboard& input,
                                         DesktopWindows& windows, ShellServices& shell)
    : form_(form), panel_(form.Controls().window), startStop_(form.Controls().tracking.startStop),
      input_(input), windows_(windows), shell_(shell) {
    QObject::connect(panel_.probe, &QPushButton::clicked, this, [this] { ProbeSwitched(); });
    QObject::connect(panel_.search, &QPushButton::clicked, this, [this] { Search(); });
    QObject::connect(panel_.list, &QPushButton::clicked, this, [this] { List(); });
    QObject::connect(panel_.copyList, &QPushButton::clicked, this, [this] { CopyList(); });
    QObject::connect(panel_.windowList, &QListWidget::itemDoubleClicked, this,
                     [this] { CopyListedHandle(); });
    panel_.crossHair->installEventFilter(this);
    panel_.windowList->viewport()->installEventFilter(this);
}

void WindowPanelControls::ShowWindow(WindowHandle window) {
    ShowFacts(DescribeWindow(windows_, window));
}

void WindowPanelControls::ShowFacts(const WindowFacts& facts) {
    // Every tick comes here while tracking runs: unchanged texts are not set.
    SetFieldText(panel_.handle, facts.handle);
    SetFieldText(panel_.title, facts.title);
    SetFieldText(panel_.className, facts.className);
}

void WindowPanelControls::LiveProbeStep(ScreenPoint pointer, bool nudged) {
    // The pick page's own visibility setting counts, not whether the window
    // panel is on show.
    if (panel_.pages[0]->isHidden() || panel_.probe->isChecked())
        return;
    if (nudged)
        pointer = input_.GetCursorPos().value_or(pointer);
    ShowFacts(DescribeWindowAt(windows_, pointer));
}

void WindowPanelControls::ProbeSwitched() {
    const bool armed = panel_.probe->isChecked();
    panel_.crossHair->setEnabled(armed);
    SetBackColor(panel_.crossHair, armed ? kWhite : kLightGrey);
    startStop_->setFocus();
}

bool WindowPanelControls::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panel_.windowList->viewport())
        return IsNonLeftDoubleClick(*event);
    if (watched == panel_.crossHair)
        CrosshairEvent(*event);
    else if (crosshairDragging_ && watched == form_.windowHandle())
        DraggedWindowPointerEvent(*event);
    return QObject::eventFilter(watched, event);
}

bool WindowPanelControls::IsNonLeftDoubleClick(const QEvent& event) {
    // The list reports a double click of any button; only the left
    // button's copies a handle.
    return event.type() == QEvent::MouseButtonDblClick &&
           static_cast<const QMouseEvent&>(event).button() != Qt::LeftButton;
}

void WindowPanelControls::CrosshairEvent(const QEvent& event) {
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // a press soon after a click comes as this
        if (static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton)
            BeginCrosshairDrag();
        break;
    case QEvent::MouseMove:
        // Qt keeps sending the moves to the crosshair while the button that
        // went down on it is held, wherever the pointer goes.
        if (crosshairDragging_ &&
            static_cast<const QMouseEvent&>(event).buttons() == Qt::LeftButton)
            ShowWindow(WindowUnderPointer(input_, windows_));
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton)
            EndCrosshairDrag();
        break;
    case QEvent::Hide:
        // The window minimised (or the page hidden) mid-drag: the pointer
        // is no longer held for it, and the release goes to whatever lies
        // under it then. The drag ends here, as a release would end it.
        EndCrosshairDrag();
        break;
    default:
        break;
    }
}

void WindowPanelControls::DraggedWindowPointerEvent(const QEvent& event) {
    // The window left behind on another desktop mid-drag loses the pointer
    // without being hidden; the first pointer event it gets again shows the
    // button long released.
    const QEvent::Type type = event.type();
    if ((type == QEvent::MouseMove || type == QEvent::MouseButtonPress ||
         type == QEvent::MouseButtonRelease) &&
        !(static_cast<const QMouseEvent&>(event).buttons() & Qt::LeftButton))
        EndCrosshairDrag();
}

void WindowPanelControls::BeginCrosshairDrag() {
    // A filter sees the presses of a disabled widget too: with "P" up the
    // crosshair is not draggable.
    if (crosshairDragging_ || !panel_.crossHair->isEnabled())
        return;
    crosshairDragging_ = true;
    form_.setCursor(panel_.crossHairImage->Pointer());
    panel_.crossHair->ClearPicture(); // the crosshair is lifted out
    // Every pointer event of the window passes its native window first.
    if (QWindow* window = form_.windowHandle())
        window->installEventFilter(this);
}

void WindowPanelControls::EndCrosshairDrag() {
    if (!crosshairDragging_)
        return;
    crosshairDragging_ = false;
    if (QWindow* window = form_.windowHandle())
        window->removeEventFilter(this);
    form_.unsetCursor();
    panel_.crossHair->SetPicture(panel_.crossHairImage->Icon());
}

void WindowPanelControls::Search() {
    QString search = panel_.searchText->text();
    if (search.isEmpty())
        return;
    // A title copied by the "C" button comes between double quotes.
    search.remove(QLatin1Char('"'));
    const std::string found = FindWindowsByTitle(windows_, search.toStdString());
    panel_.searchResults->setPlainText(QString::fromStdString(found));
}

void WindowPanelControls::List() {
    panel_.windowList->clear();
    for (const std::string& line : ListTopLevelWindows(windows_))
        panel_.windowList->addItem(QString::fromStdString(line));
}

void WindowPanelControls::CopyList() {
    // One line is copied as it is; an empty list leaves the clipboard alone.
    const int count = panel_.windowList->count();
    if (count < 1)
        return;
    // The lines are collected in one go, so the button cannot be pressed
    // again meanwhile and stays enabled: disabling it would hand its focus
    // to the next control, which a following Space would then press.
    std::string text;
    for (int row = 0; row < count; ++row) {
        if (row > 0)
            text += kWindowTextLineEnd;
        text += panel_.windowList->item(row)->text().toStdString();
    }
    shell_.ClearClipboard();
    shell_.SetClipboardText(text);
}

void WindowPanelControls::CopyListedHandle() {
    const QList<QListWidgetItem*> selected = panel_.windowList->selectedItems();
    if (selected.isEmpty())
        return;
    shell_.ClearClipboard();
    shell_.SetClipboardText(HandleOfListLine(selected.front()->text().toStdString()));
}

} // namespace huegrab
