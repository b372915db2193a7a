// The serial ports present now, as the device-setup library reports them.
#pragma once

#include "ports/serial_port.h"
#include "ports/win/setupapi_functions.h"

#include <cstdint>
#include <optional>
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

// The ports present now with their devices' identities (instance id, hardware ids and
// manufacturer), labelled "%s (COM%d)", in enumeration order; nothing, with the thread's
// last-error code set, when they cannot be enumerated.
std::optional<std::vector<ports::SerialPort>>
EnumerateSerialDevices(const wchar_t* library = kSetupApiLibrary);

// The same with the user's names and hidden flags (HKCU\Software\Portmaven\Devices) read in.
std::optional<std::vector<ports::SerialPort>> EnumerateKnownPorts();

// Replaces the ports with those present now (EnumerateKnownPorts); false, ports untouched,
// when they cannot be enumerated.
bool RefreshSerialPorts(std::vector<ports::SerialPort>& ports);

} // namespace portmaven::win
