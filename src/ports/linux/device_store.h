// The user's names and hidden flags for devices on the Linux desktop: the [Devices] section of
// the program's settings file, read and written through QSettings.
#pragma once

#include "ports/device_settings.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QSettings;

namespace portmaven::linux_desktop {

class IniDeviceStore final : public ports::DeviceSettingsStore {
public:
    // An empty path stores nothing and reads nothing.
    explicit IniDeviceStore(std::filesystem::path file);
    ~IniDeviceStore() override;
    IniDeviceStore(const IniDeviceStore&) = delete;
    IniDeviceStore& operator=(const IniDeviceStore&) = delete;
    IniDeviceStore(IniDeviceStore&&) = delete;
    IniDeviceStore& operator=(IniDeviceStore&&) = delete;

    // Values that QSettings does not read back as one string (a list, a byte array) count as
    // missing.
    [[nodiscard]] std::optional<std::u16string> Read(std::u16string_view valueName) override;
    bool Write(std::u16string_view valueName, std::u16string_view text) override;
    bool Remove(std::u16string_view valueName) override;

private:
    // Opened once and kept: an enumeration reads several values for every port. Null for an
    // empty path.
    QSettings* Settings();

    std::filesystem::path file_;
    std::unique_ptr<QSettings> settings_;
};

} // namespace portmaven::linux_desktop
