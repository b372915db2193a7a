// The switch for port-change notices on Windows: a DWORD "NotifyPortChanges" under the user's
// own key HKEY_CURRENT_USER\Software\Portmaven. Zero means off; a missing value, one of another
// type or one that cannot be read means on, so that notices work before anyone chose.
#pragma once

#include "config/notify_setting.h"

namespace portmaven::win {

inline constexpr wchar_t kSettingsKeyPath[] = L"Software\\Portmaven";
inline constexpr wchar_t kNotifyPortChangesValue[] = L"NotifyPortChanges";

class RegistryNotifySetting final : public config::NotifySetting {
public:
    [[nodiscard]] bool IsEnabled() override;
    // Creates the key when needed and writes 1 or 0.
    bool SetEnabled(bool enabled) override;
};

} // namespace portmaven::win
