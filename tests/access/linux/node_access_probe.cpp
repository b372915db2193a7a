// The no-access check as the user this runs as sees it: for each serial port udev lists, its
// details line and the fix command, one line each. The tests start it as another user.
#include "access/linux/node_access.h"
#include "ports/linux/serial_port_enum.h"
#include "tray/port_details.h"

#include <QString>

#include <iostream>

int main() {
    using namespace portmaven;
    std::optional<std::vector<ports::SerialPort>> ports = linux_desktop::EnumerateSerialPorts();
    if (!ports) {
        return 2;
    }
    linux_desktop::NoteNodeAccess(*ports);
    for (const ports::SerialPort& port : *ports) {
        std::cout << QString::fromStdU16String(tray::PortDetailsText(port)).toStdString() << '\n'
                  << QString::fromStdU16String(tray::FixCommandText(port)).toStdString() << '\n';
    }
    return 0;
}
