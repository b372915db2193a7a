// Whether the user may open a port's device node, asked of the system without opening it
// (opening one can reset the board behind it): the node's permissions, its group, and the
// user's groups in the group database and in this session.
#pragma once

#include "access/port_access.h"
#include "ports/serial_port.h"

#include <string>
#include <vector>

namespace portmaven::linux_desktop {

// Asks the group database only when the node is denied: the common case costs one access().
access::NodeAccessFacts ReadNodeAccess(const std::string& node);

// Sets each port's access trouble, group and user; the rest of what it says of access stays.
void NoteNodeAccess(std::vector<ports::SerialPort>& ports);

} // namespace portmaven::linux_desktop
