// Whether a modem manager may be probing a port: it opens a freshly plugged CDC ACM device
// (ttyACM) and talks AT commands to it for a few seconds, during which the user's own program
// cannot have the port, unless udev marks the device as none of its business.
#pragma once

#include "ports/serial_port.h"

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>

namespace portmaven::access {

using ProbeClock = std::chrono::steady_clock;

// How long after its arrival a device may still be probed: the probing itself takes a few
// seconds, and a port that has been there longer is not worth a warning.
inline constexpr std::chrono::seconds kModemProbeWindow{10};

// A device node the modem manager looks at: the CDC ACM ones, "/dev/ttyACM0".
[[nodiscard]] bool IsModemCandidate(std::u16string_view portName);

class ModemProbeWatch {
public:
    // Whether the modem manager runs now.
    void SetServiceRunning(bool running) noexcept { serviceRunning_ = running; }
    [[nodiscard]] bool ServiceRunning() const noexcept { return serviceRunning_; }

    // The port watch saw these ports arrive at `now`; ports present before are never noted.
    void OnPortsArrived(std::span<const ports::SerialPort> arrived, ProbeClock::time_point now);

    // Sets each port's modemManagerMayProbe. `ignoredByUdev` is asked only of ports that would
    // otherwise be noted, so that udev is not read for every port at every showing.
    void Note(std::span<ports::SerialPort> ports, ProbeClock::time_point now,
              const std::function<bool(const ports::SerialPort&)>& ignoredByUdev);

    // When the first note still shown ends; none when no port is within its window.
    [[nodiscard]] std::optional<ProbeClock::time_point>
    NextExpiry(ProbeClock::time_point now) const;

private:
    bool serviceRunning_ = false;
    // Candidate ports by name, and when they arrived; forgotten once their window has passed.
    std::map<std::u16string, ProbeClock::time_point, std::less<>> arrivals_;
};

} // namespace portmaven::access
