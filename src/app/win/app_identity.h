// Who the program is to the Windows shell: the id that heads its notices with its own name and
// icon, the installed shortcut that carries it, and its registration for the user.
#pragma once

#include <windows.h>

#include <string>

namespace portmaven::win {

inline constexpr wchar_t kAppUserModelId[] = L"Portmaven.Portmaven";

// The option the installer starts the installed program with, followed by the shortcut's path.
inline constexpr wchar_t kRegisterShortcutOption[] = L"--register-shortcut";

// At start, before any window or notice: the process takes the id. A copy the installer did not
// put in place (the portable zip's) registers the id for the user with its own icon, written
// beside it as Portmaven.ico, at every start, so that a folder moved elsewhere still shows it.
void TakeAppIdentity();

// The installer's step after making the Start-menu shortcut: the shortcut carries the id, and
// the id is registered for the installed program (the uninstaller removes the key). The calling
// thread must be in a COM apartment.
HRESULT RegisterShortcut(const std::wstring& shortcut);

} // namespace portmaven::win
