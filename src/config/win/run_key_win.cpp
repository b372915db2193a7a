#include "config/win/run_key_win.h"

#include "framework/win/scoped_handle.h"
#include "support/win/application.h"

#include <windows.h>

#include <string>

namespace portmaven::win {

namespace {

// Presence is all that is asked; a value with more data than this counts as absent.
constexpr DWORD kQueryBufferBytes = 1024;

ScopedRegistryKey OpenRunKey(REGSAM access) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKeyPath, 0, access, &key) != ERROR_SUCCESS) {
        return {};
    }
    return ScopedRegistryKey(key);
}

} // namespace

bool IsLaunchOnStartupSet() {
    const ScopedRegistryKey key = OpenRunKey(KEY_READ);
    if (!key) {
        return false;
    }
    BYTE data[kQueryBufferBytes] = {};
    DWORD type = REG_SZ;
    DWORD size = kQueryBufferBytes;
    return ::RegQueryValueExW(key.Get(), kRunValueName, nullptr, &type, data, &size) ==
           ERROR_SUCCESS;
}

bool SetLaunchOnStartup() {
    // ModuleFileName grows its buffer past MAX_PATH: a deep install folder gets its real path
    // in the Run value rather than a cut one the system could not start.
    return WriteLaunchOnStartupValue(ModuleFileName());
}

bool WriteLaunchOnStartupValue(std::wstring_view executablePath) {
    if (executablePath.empty()) {
        return false;
    }
    const ScopedRegistryKey key = OpenRunKey(KEY_ALL_ACCESS);
    if (!key) {
        return false;
    }
    const std::wstring data(executablePath);
    const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key.Get(), kRunValueName, 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

bool RemoveLaunchOnStartup() {
    const ScopedRegistryKey key = OpenRunKey(KEY_ALL_ACCESS);
    if (!key) {
        return false;
    }
    return ::RegDeleteValueW(key.Get(), kRunValueName) == ERROR_SUCCESS;
}

} // namespace portmaven::win
