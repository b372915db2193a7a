#include "tray/port_details.h"

#include "tray/tray_texts.h"

#include <cstddef>
#include <vector>

namespace portmaven::tray {

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

std::u16string PortHeadingText(const ports::SerialPort& port) {
    return port.label + kDetailsSeparator + PortDetailsText(port);
}

} // namespace portmaven::tray
