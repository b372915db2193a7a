// One present serial port: what the tray menu lists, what a command line names, and what the
// port-change watcher compares between two enumerations.
#pragma once

#include <string>
#include <tuple>

namespace portmaven::ports {

// What the system tells about the device behind a port; each field empty when unknown.
struct DeviceIdentity {
    // Four lower-case hex digits each: "0403", "6001". Both set for a USB device.
    std::u16string vendorId{};
    std::u16string productId{};
    // The device's own serial number, never one the system made up.
    std::u16string serial{};
    std::u16string manufacturer{};
    // Where the device is plugged in, for a USB device without a serial number.
    std::u16string location{};

    friend bool operator==(const DeviceIdentity&, const DeviceIdentity&) = default;
    friend bool operator<(const DeviceIdentity& a, const DeviceIdentity& b) {
        return std::tie(a.vendorId, a.productId, a.serial, a.manufacturer, a.location) <
               std::tie(b.vendorId, b.productId, b.serial, b.manufacturer, b.location);
    }
};

// The speed "%BAUD%" becomes when the user set none.
inline constexpr unsigned kDefaultBaud = 115200;

// What the user set for starting commands on a device's ports, resolved: the device's own
// setting, else its kind's, else the default.
struct PortLaunchSettings {
    unsigned baud = kDefaultBaud;
    // The name of the command the port's submenu offers first and an arrival runs; empty: none.
    std::u16string defaultCommand{};
    // Run the default command when the device is plugged in; never without one.
    bool runOnArrival = false;

    friend bool operator==(const PortLaunchSettings&, const PortLaunchSettings&) = default;
};

// Why the user may fail to open a port, where the platform can tell (the Linux desktop).
struct PortAccess {
    enum class Trouble {
        None,
        // The node's group may open it and the user is not in that group.
        NotInGroup,
        // The user was added to the group but this session started before: joining it takes a
        // new log-in.
        NotInSession,
    };
    Trouble trouble = Trouble::None;
    // With a trouble: the group that owns the node ("dialout") and the user's name.
    std::u16string group{};
    std::u16string user{};
    // A modem manager may be probing the device that has just arrived, which holds it for a
    // few seconds.
    bool modemManagerMayProbe = false;

    friend bool operator==(const PortAccess&, const PortAccess&) = default;
};

struct SerialPort {
    // The port's own name, what %PORT% becomes and the tooltip lists: "COM5", "/dev/ttyUSB0".
    std::u16string name;
    // Digits: what %PORTNUM% becomes.
    std::u16string number;
    // The port as the device describes itself: "USB Serial Port (COM5)". The menu shows the
    // user's name instead when there is one (ShownLabel).
    std::u16string label;
    DeviceIdentity device{};

    // The user's settings for this device, read at enumeration: the name given to it (empty:
    // none), whether it is hidden, and how commands start on it.
    std::u16string userName{};
    bool hidden = false;
    PortLaunchSettings launch{};
    // Who holds the port open, where the platform can tell: "picocom (1234)"; empty otherwise.
    std::u16string usedBy{};
    // What may stop the user opening the port, where the platform can tell.
    PortAccess access{};

    // Name, label and device are the port's identity: the label carries the description, so
    // a different device that took over the same number counts as a change. The user's
    // settings are not: renaming or hiding a port is no port change.
    friend bool operator==(const SerialPort& a, const SerialPort& b) {
        return std::tie(a.name, a.number, a.label, a.device) ==
               std::tie(b.name, b.number, b.label, b.device);
    }
    friend bool operator<(const SerialPort& a, const SerialPort& b) {
        return std::tie(a.name, a.number, a.label, a.device) <
               std::tie(b.name, b.number, b.label, b.device);
    }
};

} // namespace portmaven::ports
