// The application object: one global instance whose InitInstance runs the whole program.
#pragma once

#include <windows.h>

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

    // Runs InitInstance with every exception stopped here; returns the process exit code:
    // the one InitInstance set, 0 unless it set one.
    int Run() noexcept;

    // The process exit code Run returns.
    void SetExitCode(int code) noexcept { exitCode_ = code; }

    // The window that owns dialogs opened without a parent.
    void SetMainWindow(const Dialog* dialog) noexcept { mainWindow_ = dialog; }
    [[nodiscard]] HWND MainWindow() const noexcept;

private:
    const Dialog* mainWindow_ = nullptr;
    int exitCode_ = 0;
};

} // namespace portmaven::win
