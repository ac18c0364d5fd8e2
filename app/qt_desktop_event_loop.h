// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_event_loop.h"

#include <QObject>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace huegrab {

// The desktop's event hooks on Qt's event loop: a socket notifier per
// watched descriptor and the dispatcher's aboutToBlock signal. Destroying
// it removes every hook.
class QtDesktopEventLoop final : public QObject, public DesktopEventLoop {
public:
    QtDesktopEventLoop();
    ~QtDesktopEventLoop() override;

    void WatchReadable(int fd, std::function<void()> ready) override;
    void BeforeSleeping(std::function<void()> idle) override;

private:
    std::vector<std::unique_ptr<QSocketNotifier>> notifiers_;
};

} // namespace huegrab
