// From a command's command line and the chosen port to the program to start and its
// parameters: the substitution of the port's words ("%PORT%", "%PORTNUM%", "%BAUD%", "%SERIAL%",
// "%VID%", "%PID%") and the split of the line into program and parameters.
#pragma once

#include "ports/serial_port.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace portmaven::launch {

inline constexpr std::u16string_view kPortNumberToken = u"%PORTNUM%";
// The name a terminal opens: "COM5", "/dev/ttyUSB0".
inline constexpr std::u16string_view kPortToken = u"%PORT%";
// The speed the user set for the device (or its kind), 115200 without one.
inline constexpr std::u16string_view kBaudToken = u"%BAUD%";
// The device's USB serial number, and its vendor and product ids in four lower-case hex digits.
inline constexpr std::u16string_view kSerialToken = u"%SERIAL%";
inline constexpr std::u16string_view kVendorIdToken = u"%VID%";
inline constexpr std::u16string_view kProductIdToken = u"%PID%";

// The launch buffers hold this many code units, terminator included; nothing longer is ever
// handed to the shell, and nothing is cut to fit.
inline constexpr std::size_t kLaunchBufferUnits = 1024;

// Every "%PORTNUM%" (exact case) replaced by portText, left to right, without overlaps;
// inserted text is not searched again.
std::u16string ReplacePortNumber(std::u16string_view commandLine, std::u16string_view portText);

// Every word of the port replaced by what it stands for, by the same rules: exact case, left to
// right, inserted text not searched again; a value the system does not know (a serial number)
// becomes empty. Nothing when the line does not fit the launch buffers once substituted.
std::optional<std::u16string> SubstituteCommandLine(std::u16string_view commandLine,
                                                    const ports::SerialPort& port);

struct ProgramAndParameters {
    std::u16string program;
    std::u16string parameters;
};

// Whether a program path names a program that can be started (for instance as the system's
// search for executables finds it).
using ProgramExists = std::function<bool(std::u16string_view program)>;

// Splits a command line into program and parameters:
//  - a line that begins with a double quote: the program is the quoted text, the parameters
//    the rest, trimmed;
//  - a line without a blank: all of it is the program, with no parameters;
//  - otherwise the shortest prefix ending at a blank (or the whole line) that names an
//    existing program, as the system resolves unquoted paths with blanks; the rest, trimmed,
//    are the parameters;
//  - when nothing resolves: split at the last blank, the program with trailing and the
//    parameters with leading and trailing whitespace removed.
// An empty program means the line names nothing that could be started.
ProgramAndParameters SplitCommandLine(std::u16string_view commandLine,
                                      const ProgramExists& programExists);

// The program and parameters to start for a command line chosen for a port (its words
// substituted), or nullopt when the line cannot be started: the port has no name, the line
// names no program, or the line does not fit the launch buffers once the port is in place.
std::optional<ProgramAndParameters> PlanLaunch(std::u16string_view commandLine,
                                               const ports::SerialPort& port,
                                               const ProgramExists& programExists);

} // namespace portmaven::launch
