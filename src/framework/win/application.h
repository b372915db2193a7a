// What any Win32 part of Portmaven may know of the running application: its executable, its
// title, and the message box that speaks for it. Deliberately apart from the host, so that the
// subsystems reach these without including anything from the application itself.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace portmaven::win {

// Full path of the running executable; empty when the system cannot tell.
std::wstring ModuleFileName();

// The application's title: the executable's file name without its extension. Message boxes
// raised on the application's behalf carry it as their caption.
std::wstring ApplicationTitle();

// A message box owned by the window the user is working in (the active window of this thread,
// else the main window), captioned with the application's title.
int AppMessageBox(std::wstring_view text, UINT style);

} // namespace portmaven::win
