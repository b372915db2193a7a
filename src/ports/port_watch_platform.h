// What the port-change watcher needs from the front-end it runs in: one one-shot timer, an
// enumeration of the present ports, the user's settings for devices, and the tray icon's notice
// and tooltip.
#pragma once

#include "ports/device_settings.h"
#include "ports/port_notice.h"
#include "ports/serial_port.h"

#include <chrono>
#include <optional>
#include <string_view>
#include <vector>

namespace portmaven::ports {

class PortWatchPlatform {
public:
    PortWatchPlatform() = default;
    virtual ~PortWatchPlatform() = default;
    PortWatchPlatform(const PortWatchPlatform&) = delete;
    PortWatchPlatform& operator=(const PortWatchPlatform&) = delete;
    PortWatchPlatform(PortWatchPlatform&&) = delete;
    PortWatchPlatform& operator=(PortWatchPlatform&&) = delete;

    // Starts the one timer, or restarts it from now when it is already running; when it
    // elapses the front-end calls PortChangeWatcher::OnTimer once.
    virtual void StartOneShot(std::chrono::milliseconds delay) = 0;
    // Stops the timer; harmless when it is not running. A front-end whose timers repeat by
    // themselves (a window timer) relies on this call to make the timer fire only once.
    virtual void CancelTimer() = 0;

    // The ports present now, in any order, with the user's names and hidden flags; nothing
    // when the system could not tell.
    [[nodiscard]] virtual std::optional<std::vector<SerialPort>> Enumerate() = 0;
    // Where the user's names and hidden flags are kept, read afresh at each call: a port that
    // went since the last enumeration is told of as the user sees it now, not as it was then.
    [[nodiscard]] virtual DeviceSettingsStore& DeviceSettings() = 0;

    // Shows the notice on the tray icon without taking the focus.
    virtual void ShowNotice(const PortNotice& notice) = 0;
    virtual void SetTooltip(std::u16string_view tip) = 0;
};

} // namespace portmaven::ports
