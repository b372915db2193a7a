// Starting a command line for a serial port on the Linux desktop.
#pragma once

#include "launch/started_process.h"
#include "ports/serial_port.h"

#include <string>
#include <string_view>

namespace portmaven::linux_desktop {

// Puts the port's words in place (%PORT%, %PORTNUM%, %BAUD%, ...), splits the line as a POSIX
// shell splits words (without expanding anything) and starts the program detached, in the
// user's home folder. Not started when the line names no program that can be started. The
// started program comes with a pidfd to follow it where the kernel gives one.
launch::LaunchResult StartCommandForPort(std::u16string_view commandLine,
                                         const ports::SerialPort& port);
// The same for a click, which needs nothing of the process.
bool LaunchCommandForPort(std::u16string_view commandLine, const ports::SerialPort& port);

// The command line of the default "Connect" command: a terminal running the first serial
// terminal program found on the PATH.
std::u16string DefaultConnectCommandLine();

} // namespace portmaven::linux_desktop
