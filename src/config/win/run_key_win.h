// Launch at log-on on Windows: the value "Portmaven" under the machine-wide Run key, holding
// the executable's full path, unquoted. The key is opened for each operation and closed again.
#pragma once

#include "config/run_key.h"

#include <string_view>

namespace portmaven::win {

inline constexpr wchar_t kRunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunValueName[] = L"Portmaven";

// True when the value exists and its data fits the 1024-byte query buffer; type and content
// are not compared with this executable.
bool IsLaunchOnStartupSet();
// Writes the running executable's full path as REG_SZ. Paths longer than MAX_PATH are written
// whole, never cut; false when the path is unknown or the key cannot be written.
bool SetLaunchOnStartup();
// False when the key cannot be opened for writing or the value cannot be deleted.
bool RemoveLaunchOnStartup();

// The write behind SetLaunchOnStartup, for a given path.
bool WriteLaunchOnStartupValue(std::wstring_view executablePath);

class RegistryRunKey final : public config::RunKey {
public:
    bool IsLaunchOnStartupSet() override { return win::IsLaunchOnStartupSet(); }
    bool SetLaunchOnStartup() override { return win::SetLaunchOnStartup(); }
    bool RemoveLaunchOnStartup() override { return win::RemoveLaunchOnStartup(); }
};

} // namespace portmaven::win
