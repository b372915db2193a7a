#include "support/win/held_port.h"

#include "support/win/build_path.h"
#include "support/win/wait.h"

#include <cwctype>

namespace portmaven::e2e {

namespace {

constexpr DWORD kStartTimeoutMs = 30000;

std::wstring Environment(const wchar_t* name) {
    std::wstring value(32768, L'\0');
    value.resize(::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
    return value;
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

PtySerialPort::PtySerialPort(std::wstring_view portName, std::wstring_view description)
    : registration_(portName, description) {
    // The prefix's own folder, in Unix terms: wine-run.sh names it for every Wine process.
    const std::wstring prefix = Environment(L"WINEPREFIX");
    if (!registration_.Registered() || prefix.empty()) {
        return;
    }
    std::wstring entryName(portName);
    for (wchar_t& c : entryName) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    entry_ = prefix + L"/dosdevices/" + entryName;
    const std::wstring readyUnix = entry_ + L".ready";
    readyFile_ = win::test_support::BuildFilePath(readyUnix);
    ::DeleteFileW(readyFile_.c_str());
    // Wine starts a Linux program as it starts a Windows one, detached from this process, and
    // hands it the arguments as they are: Unix paths.
    std::wstring commandLine = L"\"" + win::test_support::BuildFilePath(PORTMAVEN_PYTHON3) +
                               L"\" \"" + PORTMAVEN_PTY_PORT + L"\" \"" + entry_ + L"\" \"" +
                               readyUnix + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        return;
    }
    // A Linux program's handles stand for nothing that can be waited on.
    if (info.hThread != nullptr) {
        ::CloseHandle(info.hThread);
    }
    if (info.hProcess != nullptr) {
        ::CloseHandle(info.hProcess);
    }
    ready_ = win::test_support::WaitUntil([&] { return FileExists(readyFile_); }, kStartTimeoutMs);
}

PtySerialPort::~PtySerialPort() {
    if (ready_ && ::DeleteFileW(readyFile_.c_str())) {
        const std::wstring entry = win::test_support::BuildFilePath(entry_);
        win::test_support::WaitUntil([&] { return !FileExists(entry); });
    }
}

PortHolderProcess::PortHolderProcess(std::wstring_view portName) {
    const std::wstring readyName =
        L"PortmavenPortHolderReady." + std::to_wstring(::GetCurrentProcessId());
    const HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
    if (ready == nullptr) {
        return;
    }
    std::wstring commandLine = L"\"" + win::test_support::BuildFilePath(PORTMAVEN_PORT_HOLDER) +
                               L"\" " + std::wstring(portName) + L" " + readyName;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info)) {
        ::CloseHandle(info.hThread);
        process_ = info.hProcess;
        processId_ = info.dwProcessId;
        // It signals once it holds the port, or ends when the port does not open.
        const HANDLE either[] = {ready, process_};
        holding_ = ::WaitForMultipleObjects(2, either, FALSE, kStartTimeoutMs) == WAIT_OBJECT_0;
    }
    ::CloseHandle(ready);
}

PortHolderProcess::~PortHolderProcess() {
    End();
}

void PortHolderProcess::End() {
    if (process_ != nullptr) {
        ::TerminateProcess(process_, 0);
        ::WaitForSingleObject(process_, kStartTimeoutMs);
        ::CloseHandle(process_);
        process_ = nullptr;
    }
}

} // namespace portmaven::e2e
