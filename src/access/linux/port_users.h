// Who holds a serial port open, found without opening the port (opening one can reset the
// board behind it): the open files of the user's processes under /proc.
#pragma once

#include "ports/serial_port.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace portmaven::linux_desktop {

// "picocom (1234)", or several joined by ", ", for the processes whose open files include the
// device node; empty when none does or the node cannot be looked at. Processes of other users
// do not let their files be seen and are not listed.
std::u16string PortUsersText(std::u16string_view deviceNode,
                             const std::filesystem::path& proc = "/proc");

// Sets each port's usedBy to the text above.
void NoteWhoHoldsPorts(std::vector<ports::SerialPort>& ports);

} // namespace portmaven::linux_desktop
