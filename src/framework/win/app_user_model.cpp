#include "framework/win/app_user_model.h"

#include "framework/win/scoped_handle.h"
#include "framework/win/system_function.h"

#include <objbase.h>
#include <propkey.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace portmaven::win {

namespace {

using SetAppUserModelIdFunction = HRESULT(WINAPI*)(PCWSTR);

bool SetStringValue(HKEY key, const wchar_t* name, const std::wstring& value) noexcept {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            bytes) == ERROR_SUCCESS;
}

} // namespace

bool SetProcessAppUserModelId(const std::wstring& id) noexcept {
    // Windows 7 and later export it; shell32 is loaded into every process that has a tray icon.
    const auto setId = ResolveFunction<SetAppUserModelIdFunction>(
        ::LoadLibraryW(L"shell32.dll"), "SetCurrentProcessExplicitAppUserModelID");
    return setId != nullptr && SUCCEEDED(setId(id.c_str()));
}

HRESULT SetShortcutAppUserModelId(const std::wstring& shortcut, const std::wstring& id) noexcept {
    ScopedComInterface<IShellLinkW> link;
    {
        IShellLinkW* raw = nullptr;
        const HRESULT created = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                                   IID_IShellLinkW, reinterpret_cast<void**>(&raw));
        if (FAILED(created)) {
            return created;
        }
        link.Reset(raw);
    }
    ScopedComInterface<IPersistFile> file;
    ScopedComInterface<IPropertyStore> properties;
    {
        IPersistFile* rawFile = nullptr;
        IPropertyStore* rawProperties = nullptr;
        HRESULT result =
            link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile));
        file.Reset(rawFile);
        if (SUCCEEDED(result)) {
            result = link.Get()->QueryInterface(IID_IPropertyStore,
                                                reinterpret_cast<void**>(&rawProperties));
            properties.Reset(rawProperties);
        }
        if (FAILED(result)) {
            return result;
        }
    }
    // Read and write access: the same object writes the file back with everything it held.
    HRESULT result = file.Get()->Load(shortcut.c_str(), STGM_READWRITE);
    if (FAILED(result)) {
        return result;
    }
    PROPVARIANT value;
    ::PropVariantInit(&value);
    value.vt = VT_LPWSTR;
    // The store copies the value; the text stays ours.
    value.pwszVal = const_cast<LPWSTR>(id.c_str());
    result = properties.Get()->SetValue(PKEY_AppUserModel_ID, value);
    if (SUCCEEDED(result)) {
        result = properties.Get()->Commit();
    }
    if (SUCCEEDED(result)) {
        result = file.Get()->Save(shortcut.c_str(), TRUE);
    }
    return result;
}

bool RegisterAppUserModelId(const std::wstring& id, const std::wstring& displayName,
                            const std::wstring& iconUri) noexcept {
    const std::wstring path = L"Software\\Classes\\AppUserModelId\\" + id;
    HKEY raw = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, &raw, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const ScopedRegistryKey key(raw);
    const bool named = SetStringValue(key.Get(), L"DisplayName", displayName);
    return SetStringValue(key.Get(), L"IconUri", iconUri) && named;
}

} // namespace portmaven::win
