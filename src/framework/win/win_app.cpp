#include "framework/win/win_app.h"

#include "framework/win/dialog.h"

namespace portmaven::win {

namespace {
WinApp* g_currentApp = nullptr;
} // namespace

WinApp::WinApp() noexcept {
    g_currentApp = this;
}

WinApp::~WinApp() {
    if (g_currentApp == this) {
        g_currentApp = nullptr;
    }
}

WinApp* WinApp::Current() noexcept {
    return g_currentApp;
}

int WinApp::Run() noexcept {
    try {
        InitInstance();
    } catch (...) {
        // Nothing may unwind out of wWinMain; the program simply ends.
    }
    return exitCode_;
}

HWND WinApp::MainWindow() const noexcept {
    return mainWindow_ != nullptr ? mainWindow_->GetSafeHwnd() : nullptr;
}

} // namespace portmaven::win
