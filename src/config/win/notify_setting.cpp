#include "config/win/notify_setting.h"

#include "framework/win/scoped_handle.h"

#include <windows.h>

namespace portmaven::win {

bool RegistryNotifySetting::IsEnabled() {
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    // RRF_RT_REG_DWORD refuses values of any other type, which then count as missing.
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKeyPath, kNotifyPortChangesValue,
                       RRF_RT_REG_DWORD, nullptr, &value, &bytes) != ERROR_SUCCESS) {
        return true;
    }
    return value != 0;
}

bool RegistryNotifySetting::SetEnabled(bool enabled) {
    HKEY rawKey = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, &rawKey, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const ScopedRegistryKey key(rawKey);
    const DWORD value = enabled ? 1 : 0;
    return ::RegSetValueExW(key.Get(), kNotifyPortChangesValue, 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&value), sizeof(value)) == ERROR_SUCCESS;
}

} // namespace portmaven::win
