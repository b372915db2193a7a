#include "ports/win/serial_port_enum.h"

#include "ports/device_identity.h"
#include "ports/device_settings.h"
#include "ports/port_name.h"
#include "ports/win/device_store.h"
#include "ports/win/registry_text.h"
#include "ports/win/setupapi_functions.h"

#include <winioctl.h> // GUID_DEVINTERFACE_COMPORT, defined in libuuid

#include <cstddef>
#include <cwchar>
#include <optional>
#include <span>
#include <utility>

namespace portmaven::win {

namespace {

// Both values are read into one buffer of 256 wide characters.
constexpr DWORD kValueBufferBytes = 256 * sizeof(wchar_t);

// The device-information set, released through the library it came from.
class ScopedDeviceInfoSet {
public:
    ScopedDeviceInfoSet(const SetupApiFunctions& api, HDEVINFO set) noexcept
        : api_(api), set_(set) {}
    ~ScopedDeviceInfoSet() { api_.DestroyDeviceInfoList(set_); }
    ScopedDeviceInfoSet(const ScopedDeviceInfoSet&) = delete;
    ScopedDeviceInfoSet& operator=(const ScopedDeviceInfoSet&) = delete;
    ScopedDeviceInfoSet(ScopedDeviceInfoSet&&) = delete;
    ScopedDeviceInfoSet& operator=(ScopedDeviceInfoSet&&) = delete;

    [[nodiscard]] HDEVINFO Get() const noexcept { return set_; }

private:
    const SetupApiFunctions& api_;
    HDEVINFO set_;
};

std::span<const std::byte> Received(const wchar_t* buffer, DWORD bytes) noexcept {
    return {reinterpret_cast<const std::byte*>(buffer),
            bytes < kValueBufferBytes ? bytes : kValueBufferBytes};
}

std::optional<std::uint32_t> ReadPortNumber(const SetupApiFunctions& api, HDEVINFO set,
                                            SP_DEVINFO_DATA& device, wchar_t* buffer) {
    const HKEY rawKey =
        api.OpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
    if (rawKey == INVALID_HANDLE_VALUE || rawKey == nullptr) {
        return std::nullopt;
    }
    const ScopedRegistryKey key(rawKey);
    DWORD type = 0;
    DWORD bytes = kValueBufferBytes;
    if (::RegQueryValueExW(key.Get(), L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                           &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return ports::PortNumberFromValue(PortNameFromRegistry(type, Received(buffer, bytes)));
}

std::u16string ReadDescription(const SetupApiFunctions& api, HDEVINFO set, SP_DEVINFO_DATA& device,
                               wchar_t* buffer) {
    DWORD type = 0;
    DWORD bytes = kValueBufferBytes;
    if (!api.GetDeviceRegistryProperty(set, &device, SPDRP_DEVICEDESC, &type,
                                       reinterpret_cast<BYTE*>(buffer), kValueBufferBytes,
                                       &bytes) ||
        type != REG_SZ) {
        return {};
    }
    return std::u16string(RegistryText(Received(buffer, bytes)));
}

// Hardware ids come as a list of strings, each ended by a NUL, the list by another.
constexpr DWORD kIdBufferUnits = 2048;

std::u16string ReadInstanceId(const SetupApiFunctions& api, HDEVINFO set, SP_DEVINFO_DATA& device) {
    std::wstring id(kIdBufferUnits, L'\0');
    if (!api.GetDeviceInstanceId(set, &device, id.data(), kIdBufferUnits, nullptr)) {
        return {};
    }
    id.resize(std::wcslen(id.c_str()));
    return {id.begin(), id.end()};
}

std::vector<std::u16string> ReadHardwareIds(const SetupApiFunctions& api, HDEVINFO set,
                                            SP_DEVINFO_DATA& device) {
    std::vector<wchar_t> buffer(kIdBufferUnits, L'\0');
    DWORD type = 0;
    DWORD bytes = 0;
    // One unit fewer than the buffer holds: the list stays ended even when it was cut.
    if (!api.GetDeviceRegistryProperty(set, &device, SPDRP_HARDWAREID, &type,
                                       reinterpret_cast<BYTE*>(buffer.data()),
                                       (kIdBufferUnits - 2) * sizeof(wchar_t), &bytes) ||
        type != REG_MULTI_SZ) {
        return {};
    }
    std::vector<std::u16string> ids;
    for (const wchar_t* id = buffer.data(); *id != L'\0'; id += std::wcslen(id) + 1) {
        ids.emplace_back(id, id + std::wcslen(id));
    }
    return ids;
}

std::u16string ReadTextProperty(const SetupApiFunctions& api, HDEVINFO set, SP_DEVINFO_DATA& device,
                                DWORD property, wchar_t* buffer) {
    DWORD type = 0;
    DWORD bytes = kValueBufferBytes;
    if (!api.GetDeviceRegistryProperty(set, &device, property, &type,
                                       reinterpret_cast<BYTE*>(buffer), kValueBufferBytes,
                                       &bytes) ||
        type != REG_SZ) {
        return {};
    }
    return std::u16string(RegistryText(Received(buffer, bytes)));
}

// One present COM port as the walk finds it.
struct FoundPort {
    std::uint32_t number = 0;
    std::u16string description{};
    ports::DeviceIdentity device{};
};

// Walks the present COM-port devices; false with the last-error code set when the library or
// the device list is not available.
bool WalkSerialPorts(std::vector<FoundPort>& found, const wchar_t* library) {
    found.clear();

    SetupApiFunctions api;
    if (!api.Load(library)) {
        return false;
    }
    const HDEVINFO rawSet = api.GetClassDevs(&GUID_DEVINTERFACE_COMPORT, nullptr, nullptr,
                                             DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (rawSet == INVALID_HANDLE_VALUE) {
        // Unloading may touch the last-error code; the caller wants the library's.
        const DWORD error = ::GetLastError();
        api.Unload();
        ::SetLastError(error);
        return false;
    }

    {
        const ScopedDeviceInfoSet set(api, rawSet);
        wchar_t buffer[kValueBufferBytes / sizeof(wchar_t)] = {};
        for (DWORD index = 0;; ++index) {
            SP_DEVINFO_DATA device{};
            device.cbSize = sizeof(SP_DEVINFO_DATA);
            // The end of the set and any other error alike end the walk.
            if (!api.EnumDeviceInfo(set.Get(), index, &device)) {
                break;
            }
            const std::optional<std::uint32_t> number =
                ReadPortNumber(api, set.Get(), device, buffer);
            if (!number) {
                continue;
            }
            FoundPort port{.number = *number,
                           .description = ReadDescription(api, set.Get(), device, buffer)};
            const std::vector<std::u16string> hardwareIds = ReadHardwareIds(api, set.Get(), device);
            port.device = ports::IdentityFromWindowsIds(
                ReadInstanceId(api, set.Get(), device), hardwareIds,
                ReadTextProperty(api, set.Get(), device, SPDRP_MFG, buffer));
            found.push_back(std::move(port));
        }
    }
    api.Unload();
    return true;
}

} // namespace

std::optional<std::vector<ports::SerialPort>> EnumerateSerialDevices(const wchar_t* library) {
    std::vector<FoundPort> found;
    if (!WalkSerialPorts(found, library)) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> numbers;
    std::vector<std::u16string> descriptions;
    for (const FoundPort& port : found) {
        numbers.push_back(port.number);
        descriptions.push_back(port.description);
    }
    std::vector<ports::SerialPort> ports = ports::MakeSerialPorts(numbers, descriptions);
    for (std::size_t i = 0; i < ports.size(); ++i) {
        ports[i].device = std::move(found[i].device);
    }
    return ports;
}

std::optional<std::vector<ports::SerialPort>> EnumerateKnownPorts() {
    std::optional<std::vector<ports::SerialPort>> ports = EnumerateSerialDevices();
    if (ports) {
        RegistryDeviceStore store;
        ports::ApplyDeviceSettings(*ports, store);
    }
    return ports;
}

bool RefreshSerialPorts(std::vector<ports::SerialPort>& ports) {
    std::optional<std::vector<ports::SerialPort>> present = EnumerateKnownPorts();
    if (!present) {
        return false;
    }
    ports = std::move(*present);
    return true;
}

} // namespace portmaven::win
