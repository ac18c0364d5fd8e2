// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_desktop_event_loop.h"

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>

namespace huegrab {

QtDesktopEventLoop::QtDesktopEventLoop() = default;
QtDesktopEventLoop::~QtDesktopEventLoop() = default;

void QtDesktopEventLoop::WatchReadable(int fd, std::function<void()> ready) {
    auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(notifier.get(), &QSocketNotifier::activated, this, [ready] { ready(); });
    notifiers_.push_back(std::move(notifier));
}

void QtDesktopEventLoop::BeforeSleeping(std::function<void()> idle) {
    // Connected with this object as context: the hook goes when it goes.
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [idle] { idle(); });
}

} // namespace huegrab
