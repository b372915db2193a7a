// Who holds a serial port open: what a port's details line names after "in use by".
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace portmaven::access {

struct PortHolder {
    // The program: the executable's file name without ".exe" on Windows, the process's
    // command name on Linux.
    std::u16string program;
    std::uint32_t processId = 0;

    friend bool operator==(const PortHolder&, const PortHolder&) = default;
};

// The holders of each port, under the port's name ("COM3", "/dev/ttyUSB0").
using HoldersByPort = std::map<std::u16string, std::vector<PortHolder>, std::less<>>;

// "putty (4321)"; several in the order given, joined by ", ": "putty (4321), plink (77)".
// Empty for none.
[[nodiscard]] std::u16string HoldersText(std::span<const PortHolder> holders);

} // namespace portmaven::access
