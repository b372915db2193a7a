// Turns the system's "something changed" signals about serial ports into one enumeration per
// burst, a tooltip that names the present ports and a notice saying which ports came or went.
// Nothing is scheduled while nothing happens: each signal (re)starts one one-shot debounce.
#pragma once

#include "ports/fit_text.h"
#include "ports/port_watch_platform.h"
#include "ports/serial_port.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace portmaven::ports {

// Long enough for the messages of one plug or unplug (a device often sends several) to fall
// into one burst, short enough to feel immediate.
inline constexpr std::chrono::milliseconds kPortChangeDebounce{300};

// The sizes, terminator included, of the front-end's fields for the notice and the tooltip;
// texts longer than their field are cut with an ellipsis.
struct NoticeBufferSizes {
    std::size_t title = kUnlimitedBuffer;
    std::size_t text = kUnlimitedBuffer;
    std::size_t tooltip = kUnlimitedBuffer;
};

class PortChangeWatcher {
public:
    explicit PortChangeWatcher(PortWatchPlatform& platform, NoticeBufferSizes sizes = {});

    // Learns the ports present at start and names them in the tooltip; raises no notice. When
    // the enumeration fails, the first one that succeeds later takes its place.
    void Seed();
    // The system said something about serial ports changed: (re)starts the debounce.
    void OnChangeSignal();
    // The debounce elapsed: enumerates once, tells the platform of the ports that came, updates
    // the tooltip and raises a notice when ports came or went. A failed enumeration changes
    // nothing.
    void OnTimer();

    // On by default; when off, the tooltip still follows the ports.
    void SetNotificationsEnabled(bool enabled) noexcept { m_notificationsEnabled = enabled; }
    [[nodiscard]] bool NotificationsEnabled() const noexcept { return m_notificationsEnabled; }

    // The ports of the last successful enumeration.
    [[nodiscard]] std::span<const SerialPort> Ports() const noexcept { return m_ports; }

    // The last notice shown, as it was before being cut to the front-end's fields: what a click
    // on the notice is about. Nothing before the first.
    [[nodiscard]] const std::optional<PortNotice>& LastNotice() const noexcept {
        return m_lastNotice;
    }

private:
    void ShowTooltip();
    void Show(PortNotice notice);

    PortWatchPlatform& m_platform;
    NoticeBufferSizes m_sizes;
    std::vector<SerialPort> m_ports;
    std::optional<PortNotice> m_lastNotice;
    bool m_seeded = false;
    bool m_timerRunning = false;
    bool m_notificationsEnabled = true;
};

} // namespace portmaven::ports
