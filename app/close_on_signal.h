#pragma once

#include <QObject>
#include <memory>

class QSocketNotifier;
class QWidget;

namespace huegrab {

// Turns SIGTERM, SIGINT and SIGHUP (on Windows: console Ctrl+C, Break and
// close) into a normal close of the window, so that the shutdown steps run
// and the focused slot is stored. The close happens on the UI thread.
class CloseOnSignal : public QObject {
public:
    explicit CloseOnSignal(QWidget& window);
    ~CloseOnSignal() override;

    CloseOnSignal(const CloseOnSignal&) = delete;
    CloseOnSignal& operator=(const CloseOnSignal&) = delete;

private:
    std::unique_ptr<QSocketNotifier> notifier_; // gone before the pipe closes
};

} // namespace huegrab
