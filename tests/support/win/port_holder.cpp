// Stands in for a terminal program that holds a serial port open: opens "\\.\<port>" as such a
// program does, signals the named event it was given, and keeps the port until it is ended.
// Usage: port_holder.exe <port> <event>. Exit code 2: the port did not open.
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (arguments == nullptr || count != 3) {
        return 1;
    }
    const std::wstring device = L"\\\\.\\" + std::wstring(arguments[1]);
    const HANDLE port = ::CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        return 2;
    }
    if (const HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, arguments[2])) {
        ::SetEvent(ready);
    }
    ::Sleep(INFINITE);
    return 0;
}
