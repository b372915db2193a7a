// The serial ports present now, as the device-setup library reports them.
#pragma once

#include "ports/serial_port.h"
#include "ports/win/setupapi_functions.h"

#include <optional>
#include <string>
#include <vector>

namespace portmaven::win {

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
