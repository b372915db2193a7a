// Starting a command's program through the shell.
#pragma once

#include "config/command_list.h"
#include "ports/menu_selection.h"
#include "ports/serial_port.h"

#include <span>
#include <string_view>

namespace portmaven::win {

// Asks the shell to start the program with the parameters (which may be null); true when the
// shell accepted the request. Empty programs and texts that do not fit the launch buffers are
// refused without asking the shell.
bool LaunchProgram(const wchar_t* program, const wchar_t* parameters);

// Whether the system finds a program file by this path or name as it finds programs to start:
// the path as given, else on the search path, with ".exe" added when it has no extension.
bool ProgramExistsOnSearchPath(std::u16string_view program);

// Starts a command line for the port of a tray menu label; false when it names nothing that
// can be started for that port or the shell refuses it.
bool LaunchCommandForPort(std::u16string_view commandLine, std::u16string_view portLabel);

// Starts the command last highlighted under the port entry last highlighted. Does nothing when
// either is unknown or out of range; tells the user "Invalid command to execute" when the
// command cannot be started.
void LaunchSelectedCommand(const config::CommandList& commands,
                           std::span<const ports::SerialPort> ports,
                           ports::MenuSelection selection);

} // namespace portmaven::win
