// The switch for port-change notices, kept in an INI file of the user's configuration folder.
#pragma once

#include "config/notify_setting.h"

#include <filesystem>

namespace portmaven::linux_desktop {

class IniNotifySetting final : public config::NotifySetting {
public:
    // file: <config home>/portmaven/portmaven.conf; its folder is made at the first save. An
    // empty path (no configuration folder known) reads as on and cannot be saved, as does a
    // path whose bytes are not UTF-8, which Qt has no name for on Linux.
    explicit IniNotifySetting(std::filesystem::path file);

    [[nodiscard]] bool IsEnabled() override;
    bool SetEnabled(bool enabled) override;

private:
    std::filesystem::path file_;
};

} // namespace portmaven::linux_desktop
