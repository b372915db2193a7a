// The serial ports present now, as the device-setup library reports them.
#pragma once

#include "ports/serial_port.h"

#include <cstdint>
#include <string>
#include <vector>

namespace portmaven::win {

// Empties and fills two parallel arrays: the number of each present COM port and its device
// description (empty when it cannot be read), in the order the system enumerates the devices.
// true when the device list could be walked, also when it holds no port; false with the
// thread's last-error code set when the library or the device list is not available.
bool EnumerateSerialPorts(std::vector<std::uint32_t>& numbers,
                          std::vector<std::u16string>& descriptions);

// The same with the library loaded from another file (tests use it to stand in a library
// that lacks the functions).
bool EnumerateSerialPorts(std::vector<std::uint32_t>& numbers,
                          std::vector<std::u16string>& descriptions, const wchar_t* library);

// Replaces the ports with those present now, labelled "%s (COM%d)", in enumeration order;
// false, ports untouched, when they cannot be enumerated.
bool RefreshSerialPorts(std::vector<ports::SerialPort>& ports);

} // namespace portmaven::win
