#include "harness.h"

#include "config/command_record.h"

#include <shellapi.h>

#include <cstring>
#include <stdexcept>

namespace portmaven::e2e {

namespace {

constexpr UINT kTrayCallback = WM_USER + 1;
constexpr UINT kTrayIconId = 128;

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
    bool visibleOnly;
};

BOOL CALLBACK CollectWindows(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == search->processId && (!search->visibleOnly || ::IsWindowVisible(window))) {
        search->found.push_back(window);
    }
    return TRUE;
}

} // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly) {
    WindowSearch search{processId, {}, visibleOnly};
    ::EnumWindows(&CollectWindows, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

void SendKey(WORD virtualKey, WORD scan, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    ::SendInput(1, &input, sizeof(INPUT));
}

} // namespace

std::wstring PortmavenExePath() {
    return BuildFilePath(PORTMAVEN_EXE_UNIX_PATH);
}

TestFolder::TestFolder(std::wstring_view name) : folder_(L"portmaven-e2e-" + std::wstring(name)) {
    if (!::CopyFileW(PortmavenExePath().c_str(), ExePath().c_str(), FALSE)) {
        throw std::runtime_error("cannot copy Portmaven.exe into the test folder");
    }
}

void WriteFileBytes(const std::wstring& path, std::string_view bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot create a test file");
    }
    DWORD written = 0;
    const BOOL ok =
        bytes.empty() ||
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    if (!ok || written != bytes.size()) {
        throw std::runtime_error("cannot write a test file");
    }
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    ::CloseHandle(file);
    return bytes;
}

void WriteConfigFile(const std::wstring& path, const std::vector<CommandText>& commands) {
    std::string bytes;
    for (const auto& command : commands) {
        const auto record = config::MakeCommandRecord(command.name, command.command);
        bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
    }
    WriteFileBytes(path, bytes);
}

std::optional<std::vector<CommandText>> ReadConfigFile(const std::wstring& path) {
    const auto bytes = ReadFileBytes(path);
    if (!bytes) {
        return std::nullopt;
    }
    std::vector<CommandText> commands;
    for (size_t offset = 0; offset + config::kRecordBytes <= bytes->size();
         offset += config::kRecordBytes) {
        config::tag_ST_PORTMAVEN_CONFIG record{};
        std::memcpy(&record, bytes->data() + offset, sizeof record);
        commands.push_back({std::u16string(config::FieldText(record.szName)),
                            std::u16string(config::FieldText(record.szCommand))});
    }
    return commands;
}

std::optional<DWORD> RunAndWait(const std::wstring& commandLine, DWORD timeoutMs) {
    std::wstring mutableLine = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        return std::nullopt;
    }
    ::CloseHandle(info.hThread);
    std::optional<DWORD> exitCode;
    DWORD code = 0;
    if (::WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0 &&
        ::GetExitCodeProcess(info.hProcess, &code)) {
        exitCode = code;
    }
    ::CloseHandle(info.hProcess);
    return exitCode;
}

PortmavenProcess::PortmavenProcess(const TestFolder& folder) {
    Start(folder.ExePath());
}

PortmavenProcess::PortmavenProcess(const std::wstring& exePath) {
    Start(exePath);
}

void PortmavenProcess::Start(const std::wstring& exePath) {
    const size_t slash = exePath.find_last_of(L'\\');
    const std::wstring directory = exePath.substr(0, slash);
    std::wstring commandLine = L"\"" + exePath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory.c_str(), &startup, &info)) {
        throw std::runtime_error("cannot start Portmaven.exe");
    }
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
}

PortmavenProcess::~PortmavenProcess() {
    if (process_ != nullptr) {
        if (!HasExited()) {
            Kill();
        }
        ::CloseHandle(process_);
    }
}

bool PortmavenProcess::WaitForHost(DWORD timeoutMs) {
    const bool found = WaitUntil(
        [this] {
            for (HWND window : TopLevelWindows(processId_, false)) {
                if (ClassName(window) == L"#32770" && WindowText(window) == L"Portmaven") {
                    host_ = window;
                    return true;
                }
            }
            return HasExited();
        },
        timeoutMs);
    // The host is not visible yet while it initialises either, and the icon comes before the
    // rest of the initialisation (the command file, the first port enumeration). Only once the
    // host's thread waits for input in its own loop is the program ready for the tests.
    return found && host_ != nullptr &&
           WaitUntil([this] { return TrayIconPresent() && !::IsWindowVisible(host_); },
                     timeoutMs) &&
           ::WaitForInputIdle(process_, timeoutMs) == 0;
}

bool PortmavenProcess::TrayIconPresent() const {
    return host_ != nullptr && TrayIconOf(host_);
}

namespace {
NOTIFYICONDATAW IconKey(HWND host) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = host;
    data.uID = kTrayIconId;
    return data;
}
} // namespace

bool TrayIconOf(HWND host) {
    // NIM_MODIFY without flags changes nothing and succeeds exactly while the icon exists.
    NOTIFYICONDATAW data = IconKey(host);
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool DeleteTrayIcon(HWND host) {
    NOTIFYICONDATAW data = IconKey(host);
    return ::Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

void PortmavenProcess::PostTrayMessage(UINT mouseMessage) const {
    ::PostMessageW(host_, kTrayCallback, kTrayIconId, static_cast<LPARAM>(mouseMessage));
}

bool PortmavenProcess::OpenTrayMenu(UINT mouseMessage, DWORD timeoutMs) const {
    PostTrayMessage(mouseMessage);
    // Give the menu a moment to take the keyboard after it appears.
    const bool shown = WaitUntil(IsPopupMenuShown, timeoutMs);
    ::Sleep(150);
    return shown;
}

void PortmavenProcess::PostCommand(UINT id) const {
    ::PostMessageW(host_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

std::vector<HWND> PortmavenProcess::VisibleWindows() const {
    return TopLevelWindows(processId_, true);
}

HWND PortmavenProcess::WaitForWindow(std::wstring_view caption, DWORD timeoutMs) const {
    HWND result = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : VisibleWindows()) {
                if (WindowText(window) == caption) {
                    result = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return result;
}

bool PortmavenProcess::WaitForExit(DWORD timeoutMs) const {
    return ::WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

bool PortmavenProcess::HasExited() const {
    return WaitForExit(0);
}

void PortmavenProcess::Kill() {
    ::TerminateProcess(process_, 1);
    ::WaitForSingleObject(process_, 10000);
}

bool IsPopupMenuShown() {
    HWND menu = ::FindWindowW(L"#32768", nullptr);
    return menu != nullptr && ::IsWindowVisible(menu);
}

bool WaitForMenuClosed(DWORD timeoutMs) {
    return WaitUntil([] { return !IsPopupMenuShown(); }, timeoutMs);
}

void PressMenuKey(WORD virtualKey, int times) {
    HWND menu = ::FindWindowW(L"#32768", nullptr);
    if (menu == nullptr) {
        return;
    }
    // Lets the menu's thread settle into its loop before the first key.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(menu, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    for (int i = 0; i < times; ++i) {
        ::PostMessageW(menu, WM_KEYDOWN, virtualKey, 1);
        ::PostMessageW(menu, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001));
        ::Sleep(150);
    }
}

bool ChooseCommand(const PortmavenProcess& app, int port, int command) {
    if (!app.OpenTrayMenu(WM_RBUTTONUP)) {
        return false;
    }
    PressMenuKey(VK_DOWN, port + 1);
    PressMenuKey(VK_RIGHT); // opens the port's submenu on its first command
    if (command > 0) {
        PressMenuKey(VK_DOWN, command);
    }
    PressMenuKey(VK_RETURN);
    return WaitForMenuClosed();
}

void PressKey(WORD virtualKey, int times) {
    for (int i = 0; i < times; ++i) {
        const WORD scan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
        SendKey(virtualKey, scan, 0);
        SendKey(virtualKey, scan, KEYEVENTF_KEYUP);
        ::Sleep(60);
    }
}

void TypeText(std::wstring_view text) {
    for (wchar_t c : text) {
        SendKey(0, c, KEYEVENTF_UNICODE);
        SendKey(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
        ::Sleep(10);
    }
}

} // namespace portmaven::e2e
