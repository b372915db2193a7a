// The application's identity in the shell (its AppUserModelID): Windows groups a process's
// windows under it and heads the process's notices with the name and icon registered for it.
// Without one, a notice is headed by the executable's name or an id the shell makes up.
#pragma once

#include <windows.h>

#include <string>

namespace portmaven::win {

// Gives the running process the id, before it shows any window or notice. False where the
// system has no such function or refuses the id.
bool SetProcessAppUserModelId(const std::wstring& id) noexcept;

// Writes the id into the shortcut file's properties (System.AppUserModel.ID), so that what the
// shortcut starts is the same application to the shell. The calling thread must be in a COM
// apartment.
HRESULT SetShortcutAppUserModelId(const std::wstring& shortcut, const std::wstring& id) noexcept;

// The name and icon the shell shows for the id, for the current user:
// HKCU\Software\Classes\AppUserModelId\<id> with DisplayName and IconUri.
bool RegisterAppUserModelId(const std::wstring& id, const std::wstring& displayName,
                            const std::wstring& iconUri) noexcept;

} // namespace portmaven::win
