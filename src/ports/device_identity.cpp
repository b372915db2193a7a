#include "ports/device_identity.h"

#include "common/text.h"

#include <cstddef>
#include <vector>

namespace portmaven::ports {

namespace {

std::size_t FindNoCase(std::u16string_view text, std::u16string_view what) noexcept {
    for (std::size_t i = 0; i + what.size() <= text.size(); ++i) {
        if (common::StartsWithIgnoringAsciiCase(text.substr(i), what)) {
            return i;
        }
    }
    return std::u16string_view::npos;
}

std::vector<std::u16string_view> Split(std::u16string_view text, char16_t separator) {
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::u16string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

// The four hex digits after "tag" ("VID_") in the id, or empty.
std::u16string IdAfter(std::u16string_view id, std::u16string_view tag) {
    const std::size_t at = FindNoCase(id, tag);
    if (at == std::u16string_view::npos) {
        return {};
    }
    return NormalizeUsbId(id.substr(at + tag.size(), 4));
}

bool IsUsbId(std::u16string_view id) noexcept {
    return common::StartsWithIgnoringAsciiCase(id, u"USB\\") ||
           common::StartsWithIgnoringAsciiCase(id, u"FTDIBUS\\");
}

// Vendor and product from the first USB-like id that names both.
void ReadUsbIds(std::u16string_view id, DeviceIdentity& identity) {
    if (!identity.vendorId.empty() || !IsUsbId(id)) {
        return;
    }
    std::u16string vendor = IdAfter(id, u"VID_");
    std::u16string product = IdAfter(id, u"PID_");
    if (!vendor.empty() && !product.empty()) {
        identity.vendorId = std::move(vendor);
        identity.productId = std::move(product);
    }
}

void ReadSerial(std::u16string_view instanceId, DeviceIdentity& identity) {
    const std::vector<std::u16string_view> parts = Split(instanceId, u'\\');
    if (parts.size() != 3) {
        return;
    }
    if (common::StartsWithIgnoringAsciiCase(parts[0], u"FTDIBUS") && parts[0].size() == 7) {
        // FTDI's own bus names the serial number in the middle: VID_xxxx+PID_xxxx+SERIAL.
        const std::vector<std::u16string_view> fields = Split(parts[1], u'+');
        if (fields.size() == 3 && !fields[2].empty() && fields[2].find(u'&') == fields[2].npos) {
            identity.serial = fields[2];
        }
        return;
    }
    if (!common::StartsWithIgnoringAsciiCase(parts[0], u"USB") || parts[0].size() != 3 ||
        parts[2].empty()) {
        return;
    }
    if (parts[2].find(u'&') == std::u16string_view::npos) {
        identity.serial = parts[2];
    } else {
        // Made up by the system from the hub and port the device is plugged into.
        identity.location = parts[2];
    }
}

} // namespace

std::u16string NormalizeUsbId(std::u16string_view text) {
    if (text.size() != 4) {
        return {};
    }
    std::u16string id;
    for (const char16_t unit : text) {
        if ((unit >= u'0' && unit <= u'9') || (unit >= u'a' && unit <= u'f')) {
            id += unit;
        } else if (unit >= u'A' && unit <= u'F') {
            id += static_cast<char16_t>(unit - u'A' + u'a');
        } else {
            return {};
        }
    }
    return id;
}

DeviceIdentity IdentityFromWindowsIds(std::u16string_view instanceId,
                                      std::span<const std::u16string> hardwareIds,
                                      std::u16string_view manufacturer) {
    DeviceIdentity identity;
    ReadUsbIds(instanceId, identity);
    for (const std::u16string& id : hardwareIds) {
        ReadUsbIds(id, identity);
    }
    if (!identity.vendorId.empty()) {
        ReadSerial(instanceId, identity);
    }
    identity.manufacturer = manufacturer;
    return identity;
}

std::u16string DeviceKey(const SerialPort& port) {
    const DeviceIdentity& device = port.device;
    if (!device.vendorId.empty() && !device.productId.empty()) {
        std::u16string key = u"usb:" + device.vendorId + u":" + device.productId;
        if (!device.serial.empty()) {
            return key + u":" + device.serial;
        }
        if (!device.location.empty()) {
            return key + u"@" + device.location;
        }
    }
    // Without anything that follows the device, its port's name is the best there is.
    return u"port:" + port.name;
}

} // namespace portmaven::ports
