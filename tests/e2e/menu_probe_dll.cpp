// Loaded into Portmaven.exe by a test (MenuProbe), to read the texts of the menus the program
// shows: Wine keeps a menu's items in the process that made it, out of other processes' reach.
// Its thread waits for the test's request event, writes the texts of every open popup menu of
// the process, one item a line, to "<this DLL>.<process id>.txt", and signals the answer event.
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::wstring EventName(const wchar_t* kind) {
    return std::wstring(L"PortmavenMenuProbe.") + kind + L"." +
           std::to_wstring(::GetCurrentProcessId());
}

BOOL CALLBACK CollectMenuWindow(HWND window, LPARAM found) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (processId == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
        std::wstring(className) == L"#32768") {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    }
    return TRUE;
}

std::wstring OpenMenuTexts() {
    std::vector<HWND> windows;
    ::EnumWindows(&CollectMenuWindow, reinterpret_cast<LPARAM>(&windows));
    std::wstring texts;
    for (const HWND window : windows) {
        DWORD_PTR menu = 0;
        if (!::SendMessageTimeoutW(window, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 2000, &menu)) {
            continue;
        }
        const int count = ::GetMenuItemCount(reinterpret_cast<HMENU>(menu));
        for (int item = 0; item < count; ++item) {
            wchar_t text[512] = {};
            ::GetMenuStringW(reinterpret_cast<HMENU>(menu), static_cast<UINT>(item), text, 512,
                             MF_BYPOSITION);
            texts += text;
            texts += L'\n';
        }
    }
    return texts;
}

DWORD WINAPI Serve(LPVOID module) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(static_cast<HMODULE>(module), path, MAX_PATH);
    const std::wstring output =
        std::wstring(path) + L"." + std::to_wstring(::GetCurrentProcessId());
    const HANDLE request = ::OpenEventW(SYNCHRONIZE, FALSE, EventName(L"Request").c_str());
    const HANDLE answer = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, EventName(L"Answer").c_str());
    while (request != nullptr && answer != nullptr &&
           ::WaitForSingleObject(request, INFINITE) == WAIT_OBJECT_0) {
        const std::wstring texts = OpenMenuTexts();
        const HANDLE file = ::CreateFileW((output + L".txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            ::WriteFile(file, texts.data(), static_cast<DWORD>(texts.size() * sizeof(wchar_t)),
                        &written, nullptr);
            ::CloseHandle(file);
        }
        ::SetEvent(answer);
    }
    return 0;
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(module);
        // The thread starts once the loader is done with this DLL.
        if (const HANDLE thread = ::CreateThread(nullptr, 0, &Serve, module, 0, nullptr)) {
            ::CloseHandle(thread);
        }
    }
    return TRUE;
}
