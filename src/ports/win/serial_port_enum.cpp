#include "ports/win/serial_port_enum.h"

#include "ports/port_name.h"
#include "ports/win/registry_text.h"
#include "ports/win/setupapi_functions.h"

#include <winioctl.h> // GUID_DEVINTERFACE_COMPORT, defined in libuuid

#include <cstddef>
#include <optional>
#include <span>

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

} // namespace

bool EnumerateSerialPorts(std::vector<std::uint32_t>& numbers,
                          std::vector<std::u16string>& descriptions) {
    return EnumerateSerialPorts(numbers, descriptions, kSetupApiLibrary);
}

bool EnumerateSerialPorts(std::vector<std::uint32_t>& numbers,
                          std::vector<std::u16string>& descriptions, const wchar_t* library) {
    numbers.clear();
    descriptions.clear();

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
            numbers.push_back(*number);
            descriptions.push_back(ReadDescription(api, set.Get(), device, buffer));
        }
    }
    api.Unload();
    return true;
}

bool RefreshSerialPorts(std::vector<ports::SerialPort>& ports) {
    std::vector<std::uint32_t> numbers;
    std::vector<std::u16string> descriptions;
    if (!EnumerateSerialPorts(numbers, descriptions)) {
        return false;
    }
    ports = ports::MakeSerialPorts(numbers, descriptions);
    return true;
}

} // namespace portmaven::win
