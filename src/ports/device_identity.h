// Who a port's device is: its identity read from the system's id strings and the stable key the
// user's settings for it are kept under.
#pragma once

#include "ports/serial_port.h"

#include <span>
#include <string>
#include <string_view>

namespace portmaven::ports {

// The identity of a Windows device from its instance id ("USB\VID_0403&PID_6001\A50285BI",
// "FTDIBUS\VID_0403+PID_6001+A50285BIA\0000"), its hardware ids ("USB\VID_1A86&PID_7523&REV_0254")
// and its manufacturer. A USB instance id's last part is the serial number unless the system
// made it up (then it holds "&" and tells where the device is plugged in instead).
DeviceIdentity IdentityFromWindowsIds(std::u16string_view instanceId,
                                      std::span<const std::u16string> hardwareIds,
                                      std::u16string_view manufacturer);

// Four hex digits in lower case, or empty when the text is not four hex digits.
std::u16string NormalizeUsbId(std::u16string_view text);

// What the user's settings for the port's device are kept under, the same whichever name the
// system gives the port today: "usb:0403:6001:A50285BI" with a serial number,
// "usb:1a86:7523@<where plugged>" for a USB device without one, "port:COM1" for anything else.
std::u16string DeviceKey(const SerialPort& port);

} // namespace portmaven::ports
