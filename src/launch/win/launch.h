// Starting a command's program through the shell.
#pragma once

#include "launch/started_process.h"
#include "ports/serial_port.h"

#include <string_view>

namespace portmaven::win {

// How the shell is asked: a click may see the shell's own message when the start fails; a start
// the user did not ask for at that moment (a board's arrival) shows no window of the shell's.
enum class ShellErrors { Shown, Quiet };

// Asks the shell to start the program with the parameters (which may be null). Started when the
// shell accepted the request, with its process when the shell started one. Empty programs and
// texts that do not fit the launch buffers are refused without asking the shell.
launch::LaunchResult StartProgram(const wchar_t* program, const wchar_t* parameters,
                                  ShellErrors errors = ShellErrors::Shown);
// The same, without the process.
bool LaunchProgram(const wchar_t* program, const wchar_t* parameters);

// Whether the system finds a program file by this path or name as it finds programs to start:
// the path as given, else on the search path, with ".exe" added when it has no extension.
bool ProgramExistsOnSearchPath(std::u16string_view program);

// Starts a command line for a port; not started when it names nothing that can be started for
// that port or the shell refuses it.
launch::LaunchResult StartCommandForPort(std::u16string_view commandLine,
                                         const ports::SerialPort& port,
                                         ShellErrors errors = ShellErrors::Shown);
// The same for a click, which needs nothing of the process.
bool LaunchCommandForPort(std::u16string_view commandLine, const ports::SerialPort& port);

} // namespace portmaven::win
