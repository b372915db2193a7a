// The greyed line under a port's commands that says what the system knows of its device.
#pragma once

#include "ports/serial_port.h"

#include <string>

namespace portmaven::tray {

// "0403:6001 · FTDI · SN A50285BI", and who holds the port open where that is known.
std::u16string PortDetailsText(const ports::SerialPort& port);

} // namespace portmaven::tray
