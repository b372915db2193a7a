#include "ports/device_settings.h"

#include "common/text.h"
#include "ports/device_identity.h"

#include <string>

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

std::u16string BaudValueName(std::u16string_view key) {
    return EscapedKey(key) + u"|baud";
}

std::u16string CommandValueName(std::u16string_view key) {
    return EscapedKey(key) + u"|command";
}

std::u16string RunValueName(std::u16string_view key) {
    return EscapedKey(key) + u"|run";
}

std::u16string KindKey(const SerialPort& port) {
    const DeviceIdentity& device = port.device;
    if (device.vendorId.empty() || device.productId.empty()) {
        return {};
    }
    return u"usb:" + device.vendorId + u":" + device.productId;
}

std::optional<unsigned> ParseBaud(std::u16string_view text) noexcept {
    if (text.empty()) {
        return std::nullopt;
    }
    unsigned long long value = 0;
    for (const char16_t unit : text) {
        if (unit < u'0' || unit > u'9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(unit - u'0');
        // Stops before a long run of digits could overflow.
        if (value > kMaxBaud) {
            return std::nullopt;
        }
    }
    if (value < kMinBaud) {
        return std::nullopt;
    }
    return static_cast<unsigned>(value);
}

StoredLaunchSettings ReadLaunchSettings(DeviceSettingsStore& store, std::u16string_view key) {
    StoredLaunchSettings stored;
    if (key.empty()) {
        return stored;
    }
    if (const std::optional<std::u16string> baud = store.Read(BaudValueName(key))) {
        stored.baud = ParseBaud(*baud);
    }
    stored.command = store.Read(CommandValueName(key));
    if (const std::optional<std::u16string> run = store.Read(RunValueName(key))) {
        if (*run == u"1" || *run == u"0") {
            stored.runOnArrival = *run == u"1";
        }
    }
    return stored;
}

PortLaunchSettings ResolveLaunchSettings(const StoredLaunchSettings& own,
                                         const StoredLaunchSettings& kind) {
    PortLaunchSettings settings;
    settings.baud = own.baud.value_or(kind.baud.value_or(kDefaultBaud));
    settings.defaultCommand = own.command.value_or(kind.command.value_or(std::u16string()));
    settings.runOnArrival = own.runOnArrival.value_or(kind.runOnArrival.value_or(false)) &&
                            !settings.defaultCommand.empty();
    return settings;
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
        port.launch = ResolveLaunchSettings(ReadLaunchSettings(store, key),
                                            ReadLaunchSettings(store, KindKey(port)));
    }
}

bool SavePortSettings(DeviceSettingsStore& store, SerialPort& port,
                      const PortSettingsChoice& choice) {
    const std::u16string kindKey = KindKey(port);
    const PortLaunchSettings& chosen = choice.launch;
    if ((choice.forKind && kindKey.empty()) || chosen.baud < kMinBaud || chosen.baud > kMaxBaud) {
        return false;
    }
    const std::u16string deviceKey = DeviceKey(port);
    bool saved = true;
    // Writes `text`, or removes the value when there is nothing to keep.
    const auto keep = [&store, &saved](const std::u16string& valueName,
                                       std::optional<std::u16string> text) {
        saved = (text ? store.Write(valueName, *text) : store.Remove(valueName)) && saved;
    };
    if (choice.forKind) {
        keep(BaudValueName(kindKey), chosen.baud == kDefaultBaud
                                         ? std::nullopt
                                         : std::optional(common::DecimalText(chosen.baud)));
        keep(CommandValueName(kindKey),
             chosen.defaultCommand.empty() ? std::nullopt : std::optional(chosen.defaultCommand));
        keep(RunValueName(kindKey),
             chosen.runOnArrival ? std::optional<std::u16string>(u"1") : std::nullopt);
        for (const std::u16string& own :
             {BaudValueName(deviceKey), CommandValueName(deviceKey), RunValueName(deviceKey)}) {
            keep(own, std::nullopt);
        }
    } else {
        // What the device would have without values of its own, each setting as stored.
        const StoredLaunchSettings kind = ReadLaunchSettings(store, kindKey);
        const unsigned kindBaud = kind.baud.value_or(kDefaultBaud);
        const std::u16string kindCommand = kind.command.value_or(std::u16string());
        const bool kindRun = kind.runOnArrival.value_or(false);
        keep(BaudValueName(deviceKey), chosen.baud == kindBaud
                                           ? std::nullopt
                                           : std::optional(common::DecimalText(chosen.baud)));
        keep(CommandValueName(deviceKey), chosen.defaultCommand == kindCommand
                                              ? std::nullopt
                                              : std::optional(chosen.defaultCommand));
        keep(RunValueName(deviceKey),
             chosen.runOnArrival == kindRun
                 ? std::nullopt
                 : std::optional<std::u16string>(chosen.runOnArrival ? u"1" : u"0"));
    }
    // A name that cannot be kept leaves the one the device had; the rest is kept regardless.
    saved = SetPortName(store, port, choice.name) && saved;
    port.launch = ResolveLaunchSettings(ReadLaunchSettings(store, deviceKey),
                                        ReadLaunchSettings(store, kindKey));
    return saved;
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

std::u16string DeviceDescription(const SerialPort& port) {
    const std::u16string suffix = u" (" + port.name + u")";
    if (std::u16string_view(port.label).ends_with(suffix)) {
        return port.label.substr(0, port.label.size() - suffix.size());
    }
    return port.label;
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

std::optional<SerialPort> ListedPortAt(std::span<const SerialPort> ports, int position) {
    const std::vector<std::size_t> listed = ShownPortIndices(ports);
    if (position < 0 || static_cast<std::size_t>(position) >= listed.size()) {
        return std::nullopt;
    }
    return ports[listed[static_cast<std::size_t>(position)]];
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
