#include "ports/linux/port_notices_qt.h"

#include <utility>

namespace portmaven::qt {

PortNoticesQt::PortNoticesQt(PortWatchDisplay display)
    : platform_(std::move(display), [this] { watcher_.OnTimer(); }), watcher_(platform_),
      monitor_([this] { watcher_.OnChangeSignal(); }) {}

} // namespace portmaven::qt
