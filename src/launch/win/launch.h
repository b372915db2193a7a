// Starting a command's program through the shell.
#pragma once

#include "ports/serial_port.h"

#include <string_view>

namespace portmaven::win {

// Asks the shell to start the program with the parameters (which may be null); true when the
// shell accepted the request. Empty programs and texts that do not fit the launch buffers are
// refused without asking the shell.
bool LaunchProgram(const wchar_t* program, const wchar_t* parameters);

// Whether the system finds a program file by this path or name as it finds programs to start:
// the path as given, else on the search path, with ".exe" added when it has no extension.
bool ProgramExistsOnSearchPath(std::u16string_view program);

// Starts a command line for a port; false when it names nothing that can be started for that
// port or the shell refuses it.
bool LaunchCommandForPort(std::u16string_view commandLine, const ports::SerialPort& port);

} // namespace portmaven::win
