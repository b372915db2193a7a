#include "ports/linux/serial_port_enum.h"

#include "ports/device_identity.h"
#include "ports/device_settings.h"
#include "ports/linux/device_store.h"
#include "ports/linux/udev_handles.h"
#include "ports/tty_port.h"

#include <QString>

#include <algorithm>
#include <cstring>

namespace portmaven::linux_desktop {

namespace {

constexpr char kTtySubsystem[] = "tty";
// The serial8250 and similar drivers report every possible ttyS* under a platform device,
// whether or not a port is behind it.
constexpr char kPlatformSubsystem[] = "platform";

std::optional<std::u16string> Text(const char* utf8) {
    if (utf8 == nullptr) {
        return std::nullopt;
    }
    return QString::fromUtf8(utf8).toStdU16String();
}

// The tty device itself has no driver; the one bound to the nearest ancestor names the port.
const char* DriverOf(udev_device* device) {
    for (udev_device* node = device; node != nullptr; node = udev_device_get_parent(node)) {
        if (const char* driver = udev_device_get_driver(node)) {
            return driver;
        }
    }
    return nullptr;
}

std::u16string Property(udev_device* device, const char* name) {
    return Text(udev_device_get_property_value(device, name)).value_or(u"");
}

// What udev's database says about the device; the vendor's name as the device reports it has
// its blanks written as underscores.
ports::DeviceIdentity IdentityOf(udev_device* device) {
    ports::DeviceIdentity identity;
    identity.vendorId = ports::NormalizeUsbId(Property(device, "ID_VENDOR_ID"));
    identity.productId = ports::NormalizeUsbId(Property(device, "ID_MODEL_ID"));
    if (identity.vendorId.empty() || identity.productId.empty()) {
        identity.vendorId.clear();
        identity.productId.clear();
    }
    identity.serial = Property(device, "ID_SERIAL_SHORT");
    identity.manufacturer = Property(device, "ID_VENDOR_FROM_DATABASE");
    if (identity.manufacturer.empty()) {
        identity.manufacturer = Property(device, "ID_VENDOR");
        std::replace(identity.manufacturer.begin(), identity.manufacturer.end(), u'_', u' ');
    }
    identity.location = Property(device, "ID_PATH");
    return identity;
}

std::optional<ports::SerialPort> PortOf(udev_device* device) {
    const char* node = udev_device_get_devnode(device);
    udev_device* parent = udev_device_get_parent(device); // owned by device
    if (node == nullptr || parent == nullptr) {
        return std::nullopt;
    }
    const char* parentSubsystem = udev_device_get_subsystem(parent);
    if (parentSubsystem != nullptr && std::strcmp(parentSubsystem, kPlatformSubsystem) == 0) {
        return std::nullopt;
    }
    ports::TtyNameSources sources;
    sources.modelFromDatabase =
        Text(udev_device_get_property_value(device, "ID_MODEL_FROM_DATABASE"));
    sources.model = Text(udev_device_get_property_value(device, "ID_MODEL"));
    sources.driver = Text(DriverOf(device));
    sources.deviceName = Text(udev_device_get_sysname(device)).value_or(u"");
    ports::SerialPort port = ports::MakeTtyPort(sources, *Text(node));
    port.device = IdentityOf(device);
    return port;
}

} // namespace

std::optional<std::vector<ports::SerialPort>> EnumerateSerialPorts() {
    const UdevContext context(udev_new());
    if (!context) {
        return std::nullopt;
    }
    const UdevEnumerate enumerate(udev_enumerate_new(context.get()));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), kTtySubsystem) < 0 ||
        udev_enumerate_scan_devices(enumerate.get()) < 0) {
        return std::nullopt;
    }
    std::vector<ports::SerialPort> ports;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
        const UdevDevice device(
            udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
        if (!device) {
            continue; // gone since the scan
        }
        if (std::optional<ports::SerialPort> port = PortOf(device.get())) {
            ports.push_back(std::move(*port));
        }
    }
    ports::SortTtyPorts(ports);
    return ports;
}
} // namespace portmaven::linux_desktop

namespace portmaven::linux_desktop {

std::optional<std::vector<ports::SerialPort>>
EnumerateKnownPorts(const std::filesystem::path& settingsFile) {
    std::optional<std::vector<ports::SerialPort>> ports = EnumerateSerialPorts();
    if (ports) {
        IniDeviceStore store(settingsFile);
        ports::ApplyDeviceSettings(*ports, store);
    }
    return ports;
}
} // namespace portmaven::linux_desktop
