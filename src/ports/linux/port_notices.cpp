#include "ports/linux/port_notices.h"

#include <utility>

namespace portmaven::linux_desktop {

PortNotices::PortNotices(PortWatchDisplay display, std::filesystem::path settingsFile)
    : platform_(std::move(display), std::move(settingsFile), [this] { watcher_.OnTimer(); }),
      watcher_(platform_), monitor_([this] { watcher_.OnChangeSignal(); }) {}

} // namespace portmaven::linux_desktop
