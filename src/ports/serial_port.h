// One present serial port as the tray menu lists it and as a command line names it.
#pragma once

#include <string>

namespace portmaven::ports {

struct SerialPort {
    std::u16string device; // "/dev/ttyUSB0" or "COM5": what %PORT% becomes
    std::u16string number; // digits: what %PORTNUM% becomes
    std::u16string label;  // as the menu shows it
};

} // namespace portmaven::ports
