// The notice shown when ports came or went, and the tray icon's tooltip naming the ports.
#pragma once

#include "ports/port_set_diff.h"
#include "ports/serial_port.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace portmaven::ports {

// How many ports a notice lists by label; the rest are counted.
inline constexpr std::size_t kNoticeListedPorts = 5;

struct PortNotice {
    std::u16string title;
    // One line per port, then a count of the ports not listed.
    std::u16string text;
    // The same lines, each led by the port's own name: "/dev/ttyUSB0 · FT232R USB UART". A
    // notification service that cuts long lines still shows which port it is about.
    std::u16string namedText{};

    friend bool operator==(const PortNotice&, const PortNotice&) = default;
};

// "Serial port connected", "Serial port removed" or, when both happened, "Serial ports changed"
// with each line saying which way its port went. Nothing when nothing changed.
[[nodiscard]] std::optional<PortNotice> MakePortNotice(const PortSetChange& change);

// The port's name, then what the user named it or the device's description:
// "/dev/ttyUSB0 · FT232R USB UART"; the bare name when neither is known.
[[nodiscard]] std::u16string NamedPortLine(const SerialPort& port);

// "Portmaven: COM3, COM5" in the enumeration's order, or "Portmaven" when no port is present.
[[nodiscard]] std::u16string MakePortTooltip(std::span<const SerialPort> ports);

} // namespace portmaven::ports
