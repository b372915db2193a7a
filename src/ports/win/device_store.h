// The user's names and hidden flags for devices, as text values in the registry under
// HKEY_CURRENT_USER\Software\Portmaven\Devices: per user, apart from the command file.
#pragma once

#include "ports/device_settings.h"

#include <optional>
#include <string>
#include <string_view>

namespace portmaven::win {

inline constexpr wchar_t kDevicesKeyPath[] = L"Software\\Portmaven\\Devices";

class RegistryDeviceStore final : public ports::DeviceSettingsStore {
public:
    // Values of any type but REG_SZ count as missing.
    [[nodiscard]] std::optional<std::u16string> Read(std::u16string_view valueName) override;
    bool Write(std::u16string_view valueName, std::u16string_view text) override;
    bool Remove(std::u16string_view valueName) override;
};

} // namespace portmaven::win
