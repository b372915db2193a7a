#include "ports/win/device_store.h"

#include "framework/win/scoped_handle.h"
#include "framework/win/wide_text.h"

#include <windows.h>

#include <vector>

namespace portmaven::win {

namespace {

// Far more than a valid name needs; a longer value is not one of ours.
constexpr DWORD kMaxValueBytes = 4096;

} // namespace

std::optional<std::u16string> RegistryDeviceStore::Read(std::u16string_view valueName) {
    const std::wstring name = ToWide(valueName);
    std::vector<wchar_t> buffer(kMaxValueBytes / sizeof(wchar_t) + 1, L'\0');
    DWORD bytes = kMaxValueBytes;
    // RRF_RT_REG_SZ refuses values of any other type; the text comes back ended.
    if (::RegGetValueW(HKEY_CURRENT_USER, kDevicesKeyPath, name.c_str(), RRF_RT_REG_SZ, nullptr,
                       buffer.data(), &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::wstring text(buffer.data());
    return std::u16string(text.begin(), text.end());
}

bool RegistryDeviceStore::Write(std::u16string_view valueName, std::u16string_view text) {
    HKEY rawKey = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kDevicesKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, &rawKey, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const ScopedRegistryKey key(rawKey);
    const std::wstring name = ToWide(valueName);
    const std::wstring value = ToWide(text);
    return ::RegSetValueExW(
               key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RegistryDeviceStore::Remove(std::u16string_view valueName) {
    const std::wstring name = ToWide(valueName);
    const LSTATUS status = ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kDevicesKeyPath, name.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

} // namespace portmaven::win
