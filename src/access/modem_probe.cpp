#include "access/modem_probe.h"

#include <algorithm>

namespace portmaven::access {

bool IsModemCandidate(std::u16string_view portName) {
    return portName.starts_with(u"/dev/ttyACM");
}

void ModemProbeWatch::OnPortsArrived(std::span<const ports::SerialPort> arrived,
                                     ProbeClock::time_point now) {
    for (const ports::SerialPort& port : arrived) {
        if (IsModemCandidate(port.name)) {
            arrivals_.insert_or_assign(port.name, now);
        }
    }
}

void ModemProbeWatch::Note(std::span<ports::SerialPort> ports, ProbeClock::time_point now,
                           const std::function<bool(const ports::SerialPort&)>& ignoredByUdev) {
    std::erase_if(arrivals_,
                  [now](const auto& arrival) { return now - arrival.second >= kModemProbeWindow; });
    for (ports::SerialPort& port : ports) {
        port.access.modemManagerMayProbe = serviceRunning_ && arrivals_.contains(port.name) &&
                                           !(ignoredByUdev && ignoredByUdev(port));
    }
}

std::optional<ProbeClock::time_point>
ModemProbeWatch::NextExpiry(ProbeClock::time_point now) const {
    std::optional<ProbeClock::time_point> next;
    for (const auto& [name, arrivedAt] : arrivals_) {
        const ProbeClock::time_point end = arrivedAt + kModemProbeWindow;
        if (end > now && (!next || end < *next)) {
            next = end;
        }
    }
    return next;
}

} // namespace portmaven::access
