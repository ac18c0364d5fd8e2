#pragma once

#include "desktop/shell_services.h"

#include <QWidget>
#include <map>
#include <string>
#include <string_view>
#include <utility>

class QLineEdit;
class QTimer;

namespace huegrab {

class MagnifierGrid;

// The main window. Every control comes from the layout table
// (layout_table.h) and is found by its name and index; handlers of the other
// parts of the program connect to the controls from outside. The window
// itself only switches its pages and opens the contact link.
class Form1 : public QWidget {
    Q_OBJECT
public:
    // The address shown by the contact line and opened as a mailto: link.
    static constexpr std::string_view kContactAddress = "huegrab@example.org";

    explicit Form1(ShellServices& shell, QWidget* parent = nullptr);

    // The control with this name and index (-1 for a single control), or nullptr.
    QWidget* Control(std::string_view name, int index = -1) const;
    // The same, as the given widget class; nullptr when absent or of another class.
    template <class T> T* Find(std::string_view name, int index = -1) const {
        return qobject_cast<T*>(Control(name, index));
    }
    // A single-line text field by name.
    QLineEdit* Field(std::string_view name) const;
    QTimer* Timer1() const { return timer1_; }
    MagnifierGrid* Magnifier() const;

    // Places the window in the middle of its screen's free area. Done by the
    // first show too.
    void CenterOnScreen();

    // The mode pages (0 lookup, 1 cursor, 2 window panel) and the window
    // panel's pages (0 pick, 1 search, 2 enumerate), as their buttons choose
    // them: hide all three, show page k, focus on the start/stop switch. A
    // call from code also presses the page's button.
    void SelectModePage(int k);
    void SelectWindowPage(int k);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildFromTable();
    void SetPictures();
    void ConnectPageButtons();
    void ShowOnly(std::string_view buttonName, std::string_view pageName, int k);

    ShellServices& shell_;
    std::map<std::pair<std::string, int>, QWidget*> controls_;
    QTimer* timer1_ = nullptr;
    bool centred_ = false;
};

} // namespace huegrab
