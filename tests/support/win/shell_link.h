// Start-menu shortcuts as the shell reads them: their target and their AppUserModelID.
// The calling thread must be in a COM apartment.
#pragma once

#include <windows.h>

#include <string>

namespace portmaven::win::test_support {

// Writes a shortcut to `target`; false when the shell would not.
bool CreateShortcut(const std::wstring& path, const std::wstring& target);

// The path the shortcut starts; empty when it does not load.
std::wstring ShortcutTarget(const std::wstring& path);

// The shortcut's System.AppUserModel.ID as the shell reads it back. `result` is E_NOTIMPL where
// the system keeps no properties for shortcuts (Wine), and the id is then unknown.
struct ShortcutId {
    HRESULT result = E_FAIL;
    std::wstring id;
};
ShortcutId ShortcutAppUserModelId(const std::wstring& path);

} // namespace portmaven::win::test_support
