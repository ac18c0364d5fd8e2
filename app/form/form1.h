// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form/form_controls.h"
#include "desktop/shell_services.h"

#include <QFont>
#include <QWidget>
#include <map>
#include <string>
#include <string_view>
#include <utility>

class QAbstractButton;
class QLineEdit;

namespace huegrab {

// The font of every caption and field on the window.
QFont WindowFont();

// The main window. Every control comes from the layout table
// (layout_table.h); right after building them the form resolves the typed
// handles of Controls(), and a control missing from the table stops the
// program there with a message. Handlers of the other parts of the program
// connect to those handles from outside. The window itself only switches
// its pages and opens the contact link.
class Form1 : public QWidget {
    Q_OBJECT
public:
    // The address shown by the contact line and opened as a mailto: link.
    static constexpr std::string_view kContactAddress = "huegrab@example.org";

    explicit Form1(ShellServices& shell, QWidget* parent = nullptr);

    // The handles every handler uses.
    const FormControls& Controls() const { return controls_; }
    // The clipboard and links the window was made with.
    ShellServices& Shell() const { return shell_; }

    // By name, for tests and tools that inspect the window as a user sees
    // it: the control with this name and index (-1 for a single control),
    // or nullptr; Find also checks its class. Handlers use Controls().
    QWidget* Control(std::string_view name, int index = -1) const;
    template <class T> T* Find(std::string_view name, int index = -1) const {
        return qobject_cast<T*>(Control(name, index));
    }
    QLineEdit* Field(std::string_view name) const;
    ReadoutField* Readout(std::string_view name) const;

    // Places the window, with its frame, in the middle of its screen's free
    // area; along a side where it does not fit, at the area's start. Done by
    // the first show too, and again once a window manager has framed it.
    void CenterOnScreen();

    // The mode pages (0 lookup, 1 cursor, 2 window panel) and the window
    // panel's pages (0 pick, 1 search, 2 enumerate), as their buttons choose
    // them: hide all three, show page k, focus on the start/stop switch. A
    // call from code also presses the page's button.
    void SelectModePage(int k);
    void SelectWindowPage(int k);

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void BuildFromTable();
    void ResolveControls();
    void SetPictures();
    void ConnectPageButtons();
    void ShowOnly(const std::array<QAbstractButton*, kPageCount>& buttons,
                  const std::array<QWidget*, kPageCount>& pages, int k);

    ShellServices& shell_;
    std::map<std::pair<std::string, int>, QWidget*> byName_;
    FormControls controls_;
    bool centred_ = false;
    bool shown_ = false;
    bool awaitingFrame_ = false;
};

} // namespace huegrab
