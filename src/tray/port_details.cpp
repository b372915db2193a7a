#include "tray/port_details.h"

#include "tray/tray_texts.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace portmaven::tray {

namespace {

std::u16string NoAccessText(const ports::PortAccess& access) {
    switch (access.trouble) {
    case ports::PortAccess::Trouble::NotInGroup:
        return kNotInGroupPrefix + access.group;
    case ports::PortAccess::Trouble::NotInSession:
        return kNotInSessionPrefix + access.group;
    case ports::PortAccess::Trouble::None:
        break;
    }
    return {};
}

} // namespace

std::u16string PortDetailsText(const ports::SerialPort& port) {
    std::vector<std::u16string> parts;
    const ports::DeviceIdentity& device = port.device;
    if (!device.vendorId.empty() && !device.productId.empty()) {
        parts.push_back(device.vendorId + u":" + device.productId);
    }
    if (!device.manufacturer.empty()) {
        parts.push_back(device.manufacturer);
    }
    if (!device.serial.empty()) {
        parts.push_back(kSerialNumberPrefix + device.serial);
    }
    if (!port.usedBy.empty()) {
        parts.push_back(kInUseByPrefix + port.usedBy);
    }
    if (std::u16string noAccess = NoAccessText(port.access); !noAccess.empty()) {
        parts.push_back(std::move(noAccess));
    }
    if (port.access.modemManagerMayProbe) {
        parts.emplace_back(kModemManagerProbeText);
    }
    if (parts.empty()) {
        return kNoDeviceDetailsText;
    }
    std::u16string text = parts.front();
    for (std::size_t i = 1; i < parts.size(); ++i) {
        text += kDetailsSeparator;
        text += parts[i];
    }
    return text;
}

std::u16string FixCommandText(const ports::SerialPort& port) {
    // Joining the group only helps a user who is not in it yet; whoever must log in again has
    // been added already.
    if (port.access.trouble != ports::PortAccess::Trouble::NotInGroup) {
        return {};
    }
    return kFixCommandPrefix + port.access.group + u" " + port.access.user;
}

std::u16string PortHeadingText(const ports::SerialPort& port) {
    return port.label + kDetailsSeparator + PortDetailsText(port);
}

} // namespace portmaven::tray
