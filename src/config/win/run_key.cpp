#include "config/win/run_key.h"

#include "framework/win/scoped_handle.h"
#include "framework/win/wide_text.h"
#include "framework/win/application.h"

#include <windows.h>

#include <string>

namespace portmaven::win {

namespace {

config::StoreResult ToStoreResult(LSTATUS status) {
    switch (status) {
    case ERROR_SUCCESS:
        return config::StoreResult::Done;
    case ERROR_FILE_NOT_FOUND:
        return config::StoreResult::Missing;
    case ERROR_ACCESS_DENIED:
        return config::StoreResult::AccessDenied;
    default:
        return config::StoreResult::Failed;
    }
}

} // namespace

bool RegistryRunValue::Exists() {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(root_, kRunKeyPath, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) {
        return false;
    }
    const ScopedRegistryKey key(raw);
    // No buffer: the answer does not depend on how long the data is, so a value too long for
    // any fixed buffer is still seen, and can therefore be cleared.
    return ::RegQueryValueExW(key.Get(), kRunValueName, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

config::StoreResult RegistryRunValue::Write(std::u16string_view data) {
    HKEY raw = nullptr;
    const LSTATUS opened =
        ::RegCreateKeyExW(root_, kRunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr);
    if (opened != ERROR_SUCCESS) {
        return ToStoreResult(opened);
    }
    const ScopedRegistryKey key(raw);
    const std::wstring text = ToWide(data);
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return ToStoreResult(::RegSetValueExW(key.Get(), kRunValueName, 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(text.c_str()), bytes));
}

config::StoreResult RegistryRunValue::Remove() {
    HKEY raw = nullptr;
    const LSTATUS opened = ::RegOpenKeyExW(root_, kRunKeyPath, 0, KEY_SET_VALUE, &raw);
    if (opened != ERROR_SUCCESS) {
        return ToStoreResult(opened);
    }
    const ScopedRegistryKey key(raw);
    return ToStoreResult(::RegDeleteValueW(key.Get(), kRunValueName));
}

// ModuleFileName grows its buffer past MAX_PATH: a deep install folder gets its real path in
// the Run value rather than a cut one the system could not start.
RegistryRunKey::RegistryRunKey() : key_(machine_, user_, ToUtf16(ModuleFileName())) {}

} // namespace portmaven::win
