// Notices when serial ports come and go on the Linux desktop: udev's tty events, debounced,
// turned by the port-change watcher into one enumeration per burst, a tooltip and a notice.
#pragma once

#include "ports/linux/port_watch_platform.h"
#include "ports/linux/udev_tty_monitor.h"
#include "ports/port_change_watcher.h"

#include <filesystem>

namespace portmaven::linux_desktop {

class PortNoticesQt {
public:
    // settingsFile holds the user's names and hidden flags of devices.
    PortNoticesQt(PortWatchDisplay display, std::filesystem::path settingsFile);

    // Learns the ports present now and shows them in the tooltip, without a notice.
    void Seed() { watcher_.Seed(); }
    void SetNotificationsEnabled(bool enabled) noexcept {
        watcher_.SetNotificationsEnabled(enabled);
    }
    [[nodiscard]] bool IsListening() const noexcept { return monitor_.IsListening(); }

private:
    QtPortWatchPlatform platform_;
    ports::PortChangeWatcher watcher_;
    UdevTtyMonitor monitor_;
};

} // namespace portmaven::linux_desktop
