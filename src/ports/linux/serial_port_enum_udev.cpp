#include "ports/linux/serial_port_enum_udev.h"

namespace portmaven::qt {

std::optional<std::vector<ports::SerialPort>> EnumerateSerialPorts() {
    return std::vector<ports::SerialPort>{};
}

} // namespace portmaven::qt
