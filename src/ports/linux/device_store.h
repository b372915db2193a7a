// The user's names and hidden flags for devices on the Linux desktop: the [Devices] section of
// the program's settings file, read and written through QSettings.
#pragma once

#include "ports/device_settings.h"

#include <QString>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace portmaven::linux_desktop {

class IniDeviceStore final : public ports::DeviceSettingsStore {
public:
    // An empty path stores nothing and reads nothing; nor does a path whose bytes are not UTF-8
    // (from the environment), which Qt, and so QSettings, has no name for on Linux.
    explicit IniDeviceStore(const std::filesystem::path& file);

    // Values that QSettings does not read back as one string (a list, a byte array) count as
    // missing.
    [[nodiscard]] std::optional<std::u16string> Read(std::u16string_view valueName) override;
    bool Write(std::u16string_view valueName, std::u16string_view text) override;
    bool Remove(std::u16string_view valueName) override;

private:
    // The file as QSettings opens it; empty when there is none.
    QString fileName_;
};

} // namespace portmaven::linux_desktop
