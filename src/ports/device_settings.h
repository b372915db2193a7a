// The user's own settings for the devices behind the ports: a name that replaces the device's
// description, and whether the port is hidden from the menu and its notices. They are kept per
// user under each device's key (DeviceKey), in a store the platform provides; the decisions
// about them are all here.
#pragma once

#include "ports/serial_port.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace portmaven::ports {

// The longest name a device can be given, in characters.
inline constexpr std::size_t kMaxDeviceNameLength = 255;

// Text values by name, kept for the user (the registry on Windows, an INI file on Linux).
class DeviceSettingsStore {
public:
    DeviceSettingsStore() = default;
    virtual ~DeviceSettingsStore() = default;
    DeviceSettingsStore(const DeviceSettingsStore&) = delete;
    DeviceSettingsStore& operator=(const DeviceSettingsStore&) = delete;
    DeviceSettingsStore(DeviceSettingsStore&&) = delete;
    DeviceSettingsStore& operator=(DeviceSettingsStore&&) = delete;

    // The text stored under `valueName`; nothing when there is none, when it cannot be read or
    // when what is stored there is not text.
    [[nodiscard]] virtual std::optional<std::u16string> Read(std::u16string_view valueName) = 0;
    virtual bool Write(std::u16string_view valueName, std::u16string_view text) = 0;
    // True also when there was nothing to remove.
    virtual bool Remove(std::u16string_view valueName) = 0;
};

// The names of the values a device's settings are kept in: its key with characters that some
// store would read as structure ('/', '\', '%', control characters) written as %XX.
std::u16string NameValueName(std::u16string_view deviceKey);
std::u16string HiddenValueName(std::u16string_view deviceKey);

// Whether a name can be kept: not empty, at most kMaxDeviceNameLength characters and without
// control characters (a name is one line of the menu).
bool IsValidDeviceName(std::u16string_view name) noexcept;

// Reads each port's name and hidden flag from the store. A value that is missing, not text or
// not valid counts as not set.
void ApplyDeviceSettings(std::span<SerialPort> ports, DeviceSettingsStore& store);

// Gives the port's device a name, as entered; an empty name removes it, so that the device's
// description shows again. False when the name is not valid or the store fails; the port is
// updated only on success.
bool SetPortName(DeviceSettingsStore& store, SerialPort& port, std::u16string_view name);
bool SetPortHidden(DeviceSettingsStore& store, SerialPort& port, bool hidden);

// The port as the menu, the notices and the port list show it: "Pico probe (COM3)" when the
// user named the device, else its label.
std::u16string ShownLabel(const SerialPort& port);

// Indices of the ports the menu lists, and of those it lists under "Hidden Ports", each in the
// order of the ports.
std::vector<std::size_t> ShownPortIndices(std::span<const SerialPort> ports);
std::vector<std::size_t> HiddenPortIndices(std::span<const SerialPort> ports);

// The ports the menu lists, in its order.
std::vector<SerialPort> ShownPorts(std::span<const SerialPort> ports);

// Whether a port coming or going is worth a notice: not when the user hid it.
bool NoticeDue(const SerialPort& port) noexcept;

// The port list for scripts: one line per port in menu order (the listed ports, then the hidden
// ones), each "name, label, VID:PID, serial, manufacturer, hidden|shown" separated by tabs and
// ended by "\n". Tabs and line breaks inside a field become blanks.
std::u16string PortListText(std::span<const SerialPort> ports);

} // namespace portmaven::ports
