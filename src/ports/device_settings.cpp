#include "ports/device_settings.h"

#include "ports/device_identity.h"

namespace portmaven::ports {

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

std::u16string EscapedKey(std::u16string_view key) {
    std::u16string escaped;
    escaped.reserve(key.size());
    for (const char16_t unit : key) {
        if (unit < 0x20 || unit == u'/' || unit == u'\\' || unit == u'%' || unit == 0x7F) {
            escaped += u'%';
            escaped += kHexDigits[(unit >> 4) & 0xF];
            escaped += kHexDigits[unit & 0xF];
        } else {
            escaped += unit;
        }
    }
    return escaped;
}

bool IsLowSurrogate(char16_t unit) noexcept {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

std::u16string ListField(std::u16string_view text) {
    std::u16string field(text);
    for (char16_t& unit : field) {
        if (unit == u'\t' || unit == u'\n' || unit == u'\r') {
            unit = u' ';
        }
    }
    return field;
}

void AppendListLine(std::u16string& text, const SerialPort& port) {
    const DeviceIdentity& device = port.device;
    const std::u16string ids = device.vendorId.empty() || device.productId.empty()
                                   ? std::u16string()
                                   : device.vendorId + u":" + device.productId;
    const std::u16string label = ShownLabel(port);
    for (const std::u16string_view field :
         {std::u16string_view(port.name), std::u16string_view(label), std::u16string_view(ids),
          std::u16string_view(device.serial), std::u16string_view(device.manufacturer)}) {
        text += ListField(field);
        text += u'\t';
    }
    text += port.hidden ? u"hidden\n" : u"shown\n";
}

} // namespace

std::u16string NameValueName(std::u16string_view deviceKey) {
    return EscapedKey(deviceKey) + u"|name";
}

std::u16string HiddenValueName(std::u16string_view deviceKey) {
    return EscapedKey(deviceKey) + u"|hidden";
}

bool IsValidDeviceName(std::u16string_view name) noexcept {
    if (name.empty()) {
        return false;
    }
    std::size_t characters = 0;
    for (const char16_t unit : name) {
        if (unit < 0x20 || unit == 0x7F) {
            return false;
        }
        // A character beyond the basic plane takes two units and counts once.
        if (!IsLowSurrogate(unit)) {
            ++characters;
        }
    }
    return characters <= kMaxDeviceNameLength;
}

void ApplyDeviceSettings(std::span<SerialPort> ports, DeviceSettingsStore& store) {
    for (SerialPort& port : ports) {
        const std::u16string key = DeviceKey(port);
        const std::optional<std::u16string> name = store.Read(NameValueName(key));
        port.userName = name && IsValidDeviceName(*name) ? *name : std::u16string();
        const std::optional<std::u16string> hidden = store.Read(HiddenValueName(key));
        port.hidden = hidden && *hidden == u"1";
    }
}

bool SetPortName(DeviceSettingsStore& store, SerialPort& port, std::u16string_view name) {
    const std::u16string valueName = NameValueName(DeviceKey(port));
    if (name.empty()) {
        if (!store.Remove(valueName)) {
            return false;
        }
    } else if (!IsValidDeviceName(name) || !store.Write(valueName, name)) {
        return false;
    }
    port.userName = name;
    return true;
}

bool SetPortHidden(DeviceSettingsStore& store, SerialPort& port, bool hidden) {
    const std::u16string valueName = HiddenValueName(DeviceKey(port));
    if (!(hidden ? store.Write(valueName, u"1") : store.Remove(valueName))) {
        return false;
    }
    port.hidden = hidden;
    return true;
}

std::u16string ShownLabel(const SerialPort& port) {
    if (port.userName.empty()) {
        return port.label;
    }
    return port.userName + u" (" + port.name + u")";
}

std::vector<std::size_t> ShownPortIndices(std::span<const SerialPort> ports) {
    std::vector<std::size_t> indices;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (!ports[i].hidden) {
            indices.push_back(i);
        }
    }
    return indices;
}

std::vector<std::size_t> HiddenPortIndices(std::span<const SerialPort> ports) {
    std::vector<std::size_t> indices;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (ports[i].hidden) {
            indices.push_back(i);
        }
    }
    return indices;
}

std::vector<SerialPort> ShownPorts(std::span<const SerialPort> ports) {
    std::vector<SerialPort> shown;
    for (const SerialPort& port : ports) {
        if (!port.hidden) {
            shown.push_back(port);
        }
    }
    return shown;
}

bool NoticeDue(const SerialPort& port) noexcept {
    return !port.hidden;
}

std::u16string PortListText(std::span<const SerialPort> ports) {
    std::u16string text;
    for (const std::size_t i : ShownPortIndices(ports)) {
        AppendListLine(text, ports[i]);
    }
    for (const std::size_t i : HiddenPortIndices(ports)) {
        AppendListLine(text, ports[i]);
    }
    return text;
}

} // namespace portmaven::ports
