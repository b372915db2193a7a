// The greyed line under a port's commands that says what the system knows of its device.
#pragma once

#include "ports/serial_port.h"

#include <string>

namespace portmaven::tray {

// "0403:6001 · FTDI · SN A50285BI", then who holds the port open, why the user cannot open it
// and whether a modem manager may be probing it, where that is known.
std::u16string PortDetailsText(const ports::SerialPort& port);

// What the user runs to be let in: "sudo usermod -aG dialout alice"; empty when the port opens,
// nothing is known, or joining the group is done already and only a new log-in is missing.
std::u16string FixCommandText(const ports::SerialPort& port);

// The port's label and its details line, as the Port Settings dialog names the port it edits:
// "USB Serial Port (COM3) · 0403:6001 · FTDI · SN A50285BI".
std::u16string PortHeadingText(const ports::SerialPort& port);

} // namespace portmaven::tray
