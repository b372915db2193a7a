// What changed between two enumerations of the present ports.
#pragma once

#include "ports/serial_port.h"

#include <span>
#include <vector>

namespace portmaven::ports {

struct PortSetChange {
    // In the order of the newer enumeration.
    std::vector<SerialPort> added;
    // In the order of the older enumeration.
    std::vector<SerialPort> removed;

    [[nodiscard]] bool IsEmpty() const noexcept { return added.empty() && removed.empty(); }
};

// Compares the two sets as multisets: the order of either enumeration does not matter, and a
// port listed twice has to be listed twice on the other side to count as unchanged.
[[nodiscard]] PortSetChange DiffPortSets(std::span<const SerialPort> before,
                                         std::span<const SerialPort> after);

} // namespace portmaven::ports
