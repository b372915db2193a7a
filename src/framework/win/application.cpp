#include "framework/win/application.h"

#include "framework/win/win_app.h"

#include <vector>

namespace portmaven::win {

std::wstring ModuleFileName() {
    // Paths may exceed MAX_PATH; grow until the whole name fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return {buffer.data(), length};
        }
        if (buffer.size() >= 32768) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring ApplicationTitle() {
    std::wstring path = ModuleFileName();
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) {
        name.erase(dot);
    }
    return name;
}

int AppMessageBox(std::wstring_view text, UINT style) {
    HWND owner = ::GetActiveWindow();
    if (owner == nullptr) {
        if (WinApp* app = WinApp::Current()) {
            owner = app->MainWindow();
        }
    }
    const std::wstring message(text);
    const std::wstring caption = ApplicationTitle();
    return ::MessageBoxW(owner, message.c_str(), caption.c_str(), style);
}

} // namespace portmaven::win
