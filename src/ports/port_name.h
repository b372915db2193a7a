// Serial port names and labels: which "PortName" values name a COM port, the label a port is
// shown under in the tray menu, and the port number read back out of such a label.
#pragma once

#include "ports/serial_port.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace portmaven::ports {

// A device's "PortName" as its platform stores it: the text, and whether it was stored as a
// plain string (a value of another kind names no port, whatever its text).
struct PortNameValue {
    std::u16string_view text;
    bool isString = true;
};

// True when text is not empty and every unit is a decimal digit '0'..'9'.
bool IsAllDigits(std::u16string_view text) noexcept;

// The decimal value of a digit string, or nullopt when it is not all digits or exceeds the
// largest positive 32-bit int (such a port could not be labelled faithfully).
std::optional<std::uint32_t> ParsePortNumber(std::u16string_view digits) noexcept;

// The port number named by a "PortName": a plain string "COM" (any case) followed by digits
// ('COM007' is 7).
std::optional<std::uint32_t> PortNumberFromValue(PortNameValue value) noexcept;

// "%s (COM%d)": 'USB Serial Port (COM3)'; an empty description gives ' (COM3)'.
std::u16string FormatPortLabel(std::u16string_view description, std::uint32_t number);

// One label per port; numbers and descriptions are parallel arrays of equal length.
std::vector<std::u16string> MakePortLabels(std::span<const std::uint32_t> numbers,
                                           std::span<const std::u16string> descriptions);

// "COM3": the port's name as the system knows it, whatever case or leading zeros the device's
// value had.
std::u16string FormatPortName(std::uint32_t number);

// The ports of one enumeration with their names, numbers and menu labels, in the
// enumeration's order.
std::vector<SerialPort> MakeSerialPorts(std::span<const std::uint32_t> numbers,
                                        std::span<const std::u16string> descriptions);

// The port number text of a label: the digits after its last "(COM", trailing ")" removed.
// Descriptions come from drivers and may contain "(COM" themselves; only the label's own
// suffix counts, and only digits are ever returned. nullopt when the label has no such suffix.
std::optional<std::u16string> PortTextFromLabel(std::u16string_view label);

} // namespace portmaven::ports
