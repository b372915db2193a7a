// The application object: one global instance whose InitInstance runs the whole program.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace portmaven::win {

class Dialog;

class WinApp {
public:
    WinApp() noexcept;
    virtual ~WinApp();

    WinApp(const WinApp&) = delete;
    WinApp& operator=(const WinApp&) = delete;
    WinApp(WinApp&&) = delete;
    WinApp& operator=(WinApp&&) = delete;

    // The one application object of the process, or null before it is constructed.
    static WinApp* Current() noexcept;

    // Called once from wWinMain; the program ends when it returns. Returning FALSE means
    // "no message loop of the application's own", which is every path of this program.
    virtual BOOL InitInstance() = 0;

    // Runs InitInstance with every exception stopped here; returns the process exit code.
    int Run() noexcept;

    // The window that owns dialogs opened without a parent.
    void SetMainWindow(const Dialog* dialog) noexcept { mainWindow_ = dialog; }
    [[nodiscard]] HWND MainWindow() const noexcept;

private:
    const Dialog* mainWindow_ = nullptr;
};

// The application's title: the executable's file name without its extension. Message boxes
// raised on the application's behalf carry it as their caption.
std::wstring ApplicationTitle();

// A message box owned by the window the user is working in (the active window of this thread,
// else the main window), captioned with the application's title.
int AppMessageBox(std::wstring_view text, UINT style);

// Full path of the running executable; empty when the system cannot tell.
std::wstring ModuleFileName();

} // namespace portmaven::win
