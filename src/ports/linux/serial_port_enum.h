// The serial ports present right now, as udev knows them.
#pragma once

#include "ports/serial_port.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace portmaven::linux_desktop {

// The tty devices that have a device node and a parent device, except those hanging from a
// platform device (the phantom ttyS* every PC reports), labelled "<name> (<device node>)" and
// sorted by device name in natural order, each with its device's identity (ID_VENDOR_ID,
// ID_MODEL_ID, ID_SERIAL_SHORT, the vendor's name, ID_PATH). nullopt when udev cannot be asked.
std::optional<std::vector<ports::SerialPort>> EnumerateSerialPorts();

// The same with the user's names and hidden flags read from the settings file
// ([Devices] in portmaven.conf).
std::optional<std::vector<ports::SerialPort>>
EnumerateKnownPorts(const std::filesystem::path& settingsFile);

} // namespace portmaven::linux_desktop
