// The serial ports present right now, as udev knows them.
#pragma once

#include "ports/serial_port.h"

#include <optional>
#include <vector>

namespace portmaven::linux_desktop {

// The tty devices that have a device node and a parent device, except those hanging from a
// platform device (the phantom ttyS* every PC reports), labelled "<name> (<device node>)" and
// sorted by device name in natural order. nullopt when udev cannot be asked.
std::optional<std::vector<ports::SerialPort>> EnumerateSerialPorts();

} // namespace portmaven::linux_desktop
