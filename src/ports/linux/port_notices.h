// Notices when serial ports come and go on the Linux desktop: udev's tty events, debounced,
// turned by the port-change watcher into one enumeration per burst, a tooltip and a notice.
#pragma once

#include "ports/linux/port_watch.h"
#include "ports/linux/udev_tty_monitor.h"
#include "ports/port_change_watcher.h"

#include <filesystem>
#include <optional>
#include <span>

namespace portmaven::linux_desktop {

class PortNotices {
public:
    // settingsFile holds the user's names and hidden flags of devices.
    PortNotices(PortWatchDisplay display, std::filesystem::path settingsFile);

    // Learns the ports present now and shows them in the tooltip, without a notice.
    void Seed() { watcher_.Seed(); }
    void SetNotificationsEnabled(bool enabled) noexcept {
        watcher_.SetNotificationsEnabled(enabled);
    }
    [[nodiscard]] bool IsListening() const noexcept { return monitor_.IsListening(); }
    // No change has been heard of since the watcher's last enumeration: its ports are those of
    // this moment. False when udev is not listened to.
    [[nodiscard]] bool IsSettled() const noexcept {
        return monitor_.IsListening() && !monitor_.HasUnread() && !platform_.IsDebouncing();
    }
    // The ports of the watcher's last successful enumeration.
    [[nodiscard]] std::span<const ports::SerialPort> Ports() const noexcept {
        return watcher_.Ports();
    }
    // The last notice shown: what a click on it is about.
    [[nodiscard]] const std::optional<ports::PortNotice>& LastNotice() const noexcept {
        return watcher_.LastNotice();
    }

private:
    PortWatch platform_;
    ports::PortChangeWatcher watcher_;
    UdevTtyMonitor monitor_;
};

} // namespace portmaven::linux_desktop
