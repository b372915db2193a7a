// One present serial port: what the tray menu lists, what a command line names, and what the
// port-change watcher compares between two enumerations.
#pragma once

#include <string>
#include <tuple>

namespace portmaven::ports {

struct SerialPort {
    // The port's own name, what %PORT% becomes and the tooltip lists: "COM5", "/dev/ttyUSB0".
    std::u16string name;
    // Digits: what %PORTNUM% becomes.
    std::u16string number;
    // The port as the menu shows it: "USB Serial Port (COM5)".
    std::u16string label;

    // Name and label together are the port's identity: the label carries the description, so
    // a different device that took over the same number counts as a change.
    friend bool operator==(const SerialPort&, const SerialPort&) = default;
    // Spelled out: clang-tidy 14 reads the literal 0 of a defaulted <=> as a null pointer.
    friend bool operator<(const SerialPort& a, const SerialPort& b) {
        return std::tie(a.name, a.number, a.label) < std::tie(b.name, b.number, b.label);
    }
};

} // namespace portmaven::ports
