// A serial port as one enumeration found it: what the port-change watcher compares between two
// enumerations and what its notices and tooltip show.
#pragma once

#include <compare>
#include <string>

namespace portmaven::ports {

struct PresentPort {
    // The port's own name, as the tooltip lists it: "COM5", "/dev/ttyUSB0".
    std::u16string name;
    // The port as the tray menu shows it: "USB Serial Port (COM5)".
    std::u16string label;

    // Name and label together are the port's identity: the label carries the description, so a
    // different device that took over the same number counts as a change.
    // clang-tidy takes the literal 0 that a defaulted <=> compares with for a null pointer.
    friend auto operator<=>(const PresentPort&,
                            const PresentPort&) = default; // NOLINT(modernize-use-nullptr)
};

} // namespace portmaven::ports
