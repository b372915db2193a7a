#include "ports/port_set_diff.h"

#include <cstddef>
#include <map>

namespace portmaven::ports {

namespace {

using PortCounts = std::map<SerialPort, std::size_t>;

PortCounts CountPorts(std::span<const SerialPort> ports) {
    PortCounts counts;
    for (const SerialPort& port : ports) {
        ++counts[port];
    }
    return counts;
}

// Takes one occurrence of port out of counts; false when none was left.
bool TakeOne(PortCounts& counts, const SerialPort& port) {
    const auto found = counts.find(port);
    if (found == counts.end() || found->second == 0) {
        return false;
    }
    --found->second;
    return true;
}

} // namespace

PortSetChange DiffPortSets(std::span<const SerialPort> before, std::span<const SerialPort> after) {
    PortSetChange change;
    PortCounts unmatchedBefore = CountPorts(before);
    PortCounts unmatchedAfter = CountPorts(after);
    for (const SerialPort& port : after) {
        if (!TakeOne(unmatchedBefore, port)) {
            change.added.push_back(port);
        }
    }
    for (const SerialPort& port : before) {
        if (!TakeOne(unmatchedAfter, port)) {
            change.removed.push_back(port);
        }
    }
    return change;
}

} // namespace portmaven::ports
