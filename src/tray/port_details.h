// The greyed line under a port's commands that says what the system knows of its device.
#pragma once

#include "ports/serial_port.h"

#include <string>

namespace portmaven::tray {

// "0403:6001 · FTDI · SN A50285BI", and who holds the port open where that is known.
std::u16string PortDetailsText(const ports::SerialPort& port);

// The port's label and its details line, as the Port Settings dialog names the port it edits:
// "USB Serial Port (COM3) · 0403:6001 · FTDI · SN A50285BI".
std::u16string PortHeadingText(const ports::SerialPort& port);

} // namespace portmaven::tray
