#include "support/win/shell_link.h"

#include "framework/win/scoped_handle.h"

#include <objbase.h>
#include <propkey.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace portmaven::win::test_support {

namespace {

template <typename Interface> ScopedComInterface<Interface> Query(IUnknown* object, REFIID iid) {
    Interface* raw = nullptr;
    if (object == nullptr || FAILED(object->QueryInterface(iid, reinterpret_cast<void**>(&raw)))) {
        return {};
    }
    return ScopedComInterface<Interface>(raw);
}

ScopedComInterface<IShellLinkW> NewLink() {
    IShellLinkW* raw = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&raw)))) {
        return {};
    }
    return ScopedComInterface<IShellLinkW>(raw);
}

ScopedComInterface<IShellLinkW> LoadLink(const std::wstring& path) {
    auto link = NewLink();
    const auto file = Query<IPersistFile>(link.Get(), IID_IPersistFile);
    if (!file || FAILED(file.Get()->Load(path.c_str(), STGM_READ))) {
        return {};
    }
    return link;
}

} // namespace

bool CreateShortcut(const std::wstring& path, const std::wstring& target) {
    const auto link = NewLink();
    const auto file = Query<IPersistFile>(link.Get(), IID_IPersistFile);
    return file && SUCCEEDED(link.Get()->SetPath(target.c_str())) &&
           SUCCEEDED(file.Get()->Save(path.c_str(), TRUE));
}

std::wstring ShortcutTarget(const std::wstring& path) {
    const auto link = LoadLink(path);
    wchar_t target[MAX_PATH] = {};
    if (!link || FAILED(link.Get()->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) {
        return {};
    }
    return target;
}

ShortcutId ShortcutAppUserModelId(const std::wstring& path) {
    const auto link = LoadLink(path);
    const auto properties = Query<IPropertyStore>(link.Get(), IID_IPropertyStore);
    if (!properties) {
        return {};
    }
    PROPVARIANT value;
    ::PropVariantInit(&value);
    ShortcutId answer{properties.Get()->GetValue(PKEY_AppUserModel_ID, &value), {}};
    if (SUCCEEDED(answer.result) && value.vt == VT_LPWSTR && value.pwszVal != nullptr) {
        answer.id = value.pwszVal;
    }
    ::PropVariantClear(&value);
    return answer;
}

} // namespace portmaven::win::test_support
