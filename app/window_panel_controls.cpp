// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_panel_controls.h"

#include "app/color_fields.h"
#include "app/desktop_abilities.h"
#include "app/form/form1.h"
#include "app/form/form_colors.h"
#include "app/form/icon_image.h"
#include "app/form/picture_box.h"
#include "app/window_notes.h"
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

namespace {
constexpr int kWindowPage = 2; // the mode page of the panel
} // namespace

WindowPanelControls::WindowPanelControls(Form1& form, PointerAndKeyboard& input,
                                         DesktopWindows& windows, ShellServices& shell,
                                         const DesktopAbilities& abilities)
    : form_(form), panel_(form.Controls().window), startStop_(form.Controls().tracking.startStop),
      input_(input), windows_(windows), shell_(shell),
      whyNoWindows_(abilities.WhyNot(DesktopAbility::Windows)),
      whyNoWindowAtPointer_(
          abilities.WhyNotAll({DesktopAbility::Windows, DesktopAbility::ReadPointer})) {
    QObject::connect(panel_.probe, &QPushButton::clicked, this, [this] { ProbeSwitched(); });
    QObject::connect(panel_.search, &QPushButton::clicked, this, [this] { Search(); });
    QObject::connect(panel_.list, &QPushButton::clicked, this, [this] { List(); });
    QObject::connect(panel_.copyList, &QPushButton::clicked, this, [this] { CopyList(); });
    QObject::connect(panel_.windowList, &QListWidget::itemDoubleClicked, this,
                     [this] { CopyListedHandle(); });
    panel_.crossHair->installEventFilter(this);
    panel_.windowList->viewport()->installEventFilter(this);
    ShowWhyNotOffered();
}

void WindowPanelControls::ShowWhyNotOffered() {
    const auto say = [](const QString& line, std::initializer_list<QWidget*> controls) {
        for (QWidget* control : controls) {
            control->setEnabled(false);
            control->setToolTip(line);
        }
    };
    if (whyNoWindowAtPointer_) {
        const QString line = NotOfferedLine(QT_TRANSLATE_NOOP("Form1", "拾取不到鼠标下的窗口：%1"),
                                            *whyNoWindowAtPointer_);
        // "P" stays up for good: the crosshair is never armed. The empty
        // title field says why where a title would be.
        say(line, {panel_.probe, panel_.crossHair});
        panel_.title->setPlaceholderText(line);
        panel_.title->setToolTip(line);
    }
    if (!whyNoWindows_)
        return;
    const QString line =
        NotOfferedLine(QT_TRANSLATE_NOOP("Form1", "读不到桌面的窗口：%1"), *whyNoWindows_);
    // The panel's frame says it wherever the pointer rests on it. What would
    // ask the desktop is disabled, and so is the handle field with its
    // buttons, which serve only to look a handle up.
    form_.Controls().modes.pages[kWindowPage]->setToolTip(line);
    const ClipboardButtons& buttons = form_.Controls().clipboard;
    say(line, {panel_.handle, buttons.pasteWindowHandle, buttons.findWindowByHandle, panel_.search,
               panel_.list, panel_.copyList, panel_.windowList});
    panel_.searchResults->setPlainText(line);
    panel_.windowList->setWordWrap(true); // the one line, read whole
    panel_.windowList->addItem(line);
}

void WindowPanelControls::ShowWindow(WindowHandle window) {
    if (whyNoWindows_)
        return;
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
    if (whyNoWindowAtPointer_ || panel_.pages[0]->isHidden() || panel_.probe->isChecked())
        return;
    if (nudged)
        pointer = input_.GetCursorPos().value_or(pointer);
    ShowFacts(DescribeWindowAt(windows_, pointer));
}

void WindowPanelControls::ProbeSwitched() {
    const bool armed = panel_.probe->isChecked() && !whyNoWindowAtPointer_;
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
    if (search.isEmpty() || whyNoWindows_)
        return;
    // A title copied by the "C" button comes between double quotes.
    search.remove(QLatin1Char('"'));
    const std::string found = FindWindowsByTitle(windows_, search.toStdString());
    panel_.searchResults->setPlainText(QString::fromStdString(found));
}

void WindowPanelControls::List() {
    if (whyNoWindows_)
        return; // the list keeps saying why
    panel_.windowList->clear();
    for (const std::string& line : ListTopLevelWindows(windows_))
        panel_.windowList->addItem(QString::fromStdString(line));
}

void WindowPanelControls::CopyList() {
    if (whyNoWindows_)
        return;
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
    if (selected.isEmpty() || whyNoWindows_)
        return;
    shell_.ClearClipboard();
    shell_.SetClipboardText(HandleOfListLine(selected.front()->text().toStdString()));
}

} // namespace huegrab
