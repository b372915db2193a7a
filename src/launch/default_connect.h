// The command line of the default "Connect" command on a Unix desktop.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace portmaven::launch {

// Whether a program name is found on the search path.
using IsOnPath = std::function<bool(std::u16string_view program)>;

// "x-terminal-emulator -e" and the first of picocom, tio, minicom and screen that is on the
// path, at the board's speed (%BAUD%) on %PORT% in that program's own syntax; picocom when
// none is.
std::u16string DefaultConnectCommandLine(const IsOnPath& isOnPath);

} // namespace portmaven::launch
