// The port-change watcher's platform on the Linux desktop: a single-shot Qt timer for the
// debounce, udev for the enumeration, and the host's tray icon for notices and the tooltip.
#pragma once

#include "ports/linux/device_store.h"
#include "ports/port_notice.h"
#include "ports/port_watch_platform.h"
#include "ports/serial_port.h"

#include <QTimer>

#include <filesystem>
#include <functional>
#include <string_view>

namespace portmaven::linux_desktop {

// What the host does with the watcher's results; either may be empty.
struct PortWatchDisplay {
    std::function<void(const ports::PortNotice&)> showNotice;
    std::function<void(std::u16string_view)> setTooltip;
};

class PortWatch final : public ports::PortWatchPlatform {
public:
    // onTimer runs when the debounce elapses; settingsFile holds the user's names and hidden
    // flags of devices.
    PortWatch(PortWatchDisplay display, std::filesystem::path settingsFile,
              std::function<void()> onTimer);

    void StartOneShot(std::chrono::milliseconds delay) override;
    void CancelTimer() override;
    [[nodiscard]] std::optional<std::vector<ports::SerialPort>> Enumerate() override;
    [[nodiscard]] ports::DeviceSettingsStore& DeviceSettings() override { return settings_; }
    void ShowNotice(const ports::PortNotice& notice) override;
    void SetTooltip(std::u16string_view tip) override;

    // A burst of changes is being waited out.
    [[nodiscard]] bool IsDebouncing() const { return timer_.isActive(); }

private:
    PortWatchDisplay display_;
    std::filesystem::path settingsFile_;
    IniDeviceStore settings_;
    QTimer timer_;
};

} // namespace portmaven::linux_desktop
