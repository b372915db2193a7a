// The user's own settings for the devices behind the ports: a name that replaces the device's
// description, whether the port is hidden from the menu and its notices, and how commands start
// on it (speed, default command, run on arrival). They are kept per user under each device's key
// (DeviceKey), the last three also under its kind's (KindKey), in a store the platform provides;
// the decisions about them are all here.
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

// The speeds a port can be set to, in baud.
inline constexpr unsigned kMinBaud = 50;
inline constexpr unsigned kMaxBaud = 4000000;

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
// The launch settings' values, under a device's key or a kind's.
std::u16string BaudValueName(std::u16string_view key);
std::u16string CommandValueName(std::u16string_view key);
std::u16string RunValueName(std::u16string_view key);

// What the settings for every device of the port's kind are kept under: "usb:0403:6001" for a
// USB device; empty when the device's kind is not known.
std::u16string KindKey(const SerialPort& port);

// The launch settings as stored under one key, a device's or a kind's; each one missing when it
// is not stored or cannot be used.
struct StoredLaunchSettings {
    std::optional<unsigned> baud{};
    // Empty: the device's own "none", which overrides its kind's command.
    std::optional<std::u16string> command{};
    std::optional<bool> runOnArrival{};

    friend bool operator==(const StoredLaunchSettings&, const StoredLaunchSettings&) = default;
};

// A speed as the user or the store writes it: decimal digits only, from kMinBaud to kMaxBaud.
std::optional<unsigned> ParseBaud(std::u16string_view text) noexcept;

// Reads the values under `key`: a speed that is not a number or out of range and an arrival
// switch other than "1" or "0" count as missing. A command is kept by its name; whether the
// command still exists is decided where the commands are.
StoredLaunchSettings ReadLaunchSettings(DeviceSettingsStore& store, std::u16string_view key);

// Each setting from the device's own values, else its kind's, else the default; the arrival
// switch holds only with a default command.
PortLaunchSettings ResolveLaunchSettings(const StoredLaunchSettings& own,
                                         const StoredLaunchSettings& kind);

// Whether a name can be kept: not empty, at most kMaxDeviceNameLength characters and without
// control characters (a name is one line of the menu).
bool IsValidDeviceName(std::u16string_view name) noexcept;

// Reads each port's name, hidden flag and launch settings from the store. A value that is
// missing, not text or not valid counts as not set.
void ApplyDeviceSettings(std::span<SerialPort> ports, DeviceSettingsStore& store);

// What the user chose in a port's settings.
struct PortSettingsChoice {
    // Empty: the device's description shows again.
    std::u16string name;
    PortLaunchSettings launch;
    // The launch settings go to every device of the port's kind, and the device's own ones are
    // removed. Only for a port whose kind is known.
    bool forKind = false;
};

// Keeps the choice. The device's own launch values are only those that differ from what its
// kind (or the default) gives, so that a later change to the kind still reaches the device.
// False when a value is not valid or the store fails; a name that cannot be kept leaves the
// old one and the rest is kept. The port then holds what is in effect.
bool SavePortSettings(DeviceSettingsStore& store, SerialPort& port,
                      const PortSettingsChoice& choice);

// Gives the port's device a name, as entered; an empty name removes it, so that the device's
// description shows again. False when the name is not valid or the store fails; the port is
// updated only on success.
bool SetPortName(DeviceSettingsStore& store, SerialPort& port, std::u16string_view name);
bool SetPortHidden(DeviceSettingsStore& store, SerialPort& port, bool hidden);

// The port as the menu, the notices and the port list show it: "Pico probe (COM3)" when the
// user named the device, else its label.
std::u16string ShownLabel(const SerialPort& port);

// The device's own description: its label without the port's name it ends with ("FT232R USB
// UART (/dev/ttyUSB0)" gives "FT232R USB UART").
std::u16string DeviceDescription(const SerialPort& port);

// Indices of the ports the menu lists, and of those it lists under "Hidden Ports", each in the
// order of the ports.
std::vector<std::size_t> ShownPortIndices(std::span<const SerialPort> ports);
std::vector<std::size_t> HiddenPortIndices(std::span<const SerialPort> ports);

// The ports the menu lists, in its order.
std::vector<SerialPort> ShownPorts(std::span<const SerialPort> ports);

// A copy of the listed port at `position` among the listed ones; nothing when there is none.
std::optional<SerialPort> ListedPortAt(std::span<const SerialPort> ports, int position);

// Whether a port coming or going is worth a notice: not when the user hid it.
bool NoticeDue(const SerialPort& port) noexcept;

// The port list for scripts: one line per port in menu order (the listed ports, then the hidden
// ones), each "name, label, VID:PID, serial, manufacturer, hidden|shown" separated by tabs and
// ended by "\n". Tabs and line breaks inside a field become blanks.
std::u16string PortListText(std::span<const SerialPort> ports);

} // namespace portmaven::ports
