// Stands in for a terminal program in the end-to-end tests: writes the command line it was
// started with, then each argument on a line of its own, to "<its own path>.txt" (UTF-8). While
// a test holds the event kHoldEvent unsignalled, it stays, as a terminal left open does.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

// The tests' name for it: kRecorderHoldEvent.
constexpr wchar_t kHoldEvent[] = L"PortmavenRecorderHold";
// A test that forgets to let it go does not leave it behind for ever.
constexpr DWORD kLongestHoldMs = 120000;

std::string Utf8(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string out(static_cast<std::size_t>(size - 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t self[MAX_PATH] = {};
    if (::GetModuleFileNameW(nullptr, self, MAX_PATH) == 0) {
        return 1;
    }
    const wchar_t* commandLine = ::GetCommandLineW();
    std::string record = Utf8(commandLine) + "\n";
    int count = 0;
    if (LPWSTR* arguments = ::CommandLineToArgvW(commandLine, &count)) {
        for (int i = 1; i < count; ++i) {
            record += Utf8(arguments[i]) + "\n";
        }
        ::LocalFree(arguments);
    }
    // Written aside and moved into place, so a reader never sees half a record.
    const std::wstring target = std::wstring(self) + L".txt";
    const std::wstring partial = target + L".part";
    HANDLE file = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    ::CloseHandle(file);
    if (!ok || !::MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return 1;
    }
    if (const HANDLE hold = ::OpenEventW(SYNCHRONIZE, FALSE, kHoldEvent)) {
        ::WaitForSingleObject(hold, kLongestHoldMs);
        ::CloseHandle(hold);
    }
    return 0;
}
