// Serial ports of a Unix system (tty devices): the name a port is shown under, its label, its
// number and the order in which the menu lists the ports.
#pragma once

#include "ports/serial_port.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace portmaven::ports {

// What the device database knows about a tty device, each possibly missing.
struct TtyNameSources {
    std::optional<std::u16string> modelFromDatabase; // ID_MODEL_FROM_DATABASE
    std::optional<std::u16string> model;             // ID_MODEL, blanks written as underscores
    std::optional<std::u16string> driver;            // "ftdi_sio", "cdc_acm"
    std::u16string deviceName;                       // "ttyUSB0"
};

// The first of the sources that is set and not empty, in the order above; the model with its
// underscores shown as blanks.
std::u16string ChooseTtyPortName(const TtyNameSources& sources);

// The digits at the end of a device name: "ttyUSB10" gives "10", "console" gives "".
std::u16string TrailingDigits(std::u16string_view deviceName);

// The port of a tty device: its device node, the device name's trailing digits and the label
// "<name> (<device node>)".
SerialPort MakeTtyPort(const TtyNameSources& sources, std::u16string_view deviceNode);

// Natural order: runs of digits compare by their value, so ttyUSB2 comes before ttyUSB10.
bool NaturalLess(std::u16string_view a, std::u16string_view b);

// Sorts ports by device name (the device node's last component) in natural order.
void SortTtyPorts(std::vector<SerialPort>& ports);

} // namespace portmaven::ports
