// Launch at log-on on Windows: the value "Portmaven" under the Run key, holding the
// executable's full path in quotes. The machine-wide copy (HKEY_LOCAL_MACHINE) is written
// where the user may; a standard user, or an administrator without elevation, gets the same
// value under HKEY_CURRENT_USER instead. Keys are opened for each operation and closed again.
#pragma once

#include "config/run_key.h"
#include "config/run_value_store.h"
#include "config/two_scope_run_key.h"

#include <windows.h>

namespace portmaven::win {

inline constexpr wchar_t kRunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunValueName[] = L"Portmaven";

// The value under one root key's Run key.
class RegistryRunValue final : public config::RunValueStore {
public:
    explicit RegistryRunValue(HKEY root) noexcept : root_(root) {}

    // Presence only: a value of any type and any length counts.
    bool Exists() override;
    // Writes REG_SZ data with its terminator, creating the Run key when it is missing.
    config::StoreResult Write(std::u16string_view data) override;
    config::StoreResult Remove() override;

private:
    HKEY root_;
};

// The Configure dialog's switch: both copies, for the running executable.
class RegistryRunKey final : public config::RunKey {
public:
    RegistryRunKey();

    bool IsLaunchOnStartupSet() override { return key_.IsLaunchOnStartupSet(); }
    bool SetLaunchOnStartup() override { return key_.SetLaunchOnStartup(); }
    bool RemoveLaunchOnStartup() override { return key_.RemoveLaunchOnStartup(); }

private:
    RegistryRunValue machine_{HKEY_LOCAL_MACHINE};
    RegistryRunValue user_{HKEY_CURRENT_USER};
    config::TwoScopeRunKey key_;
};

} // namespace portmaven::win
