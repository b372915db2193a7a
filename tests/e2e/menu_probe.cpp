#include "menu_probe.h"

#include "harness.h"

namespace portmaven::e2e {

namespace {

constexpr DWORD kAnswerTimeoutMs = 10000;

HANDLE ProbeEvent(const wchar_t* kind, DWORD processId) {
    const std::wstring name =
        std::wstring(L"PortmavenMenuProbe.") + kind + L"." + std::to_wstring(processId);
    return ::CreateEventW(nullptr, FALSE, FALSE, name.c_str());
}

} // namespace

MenuProbe::MenuProbe(HANDLE process, DWORD processId)
    : request_(ProbeEvent(L"Request", processId)), answer_(ProbeEvent(L"Answer", processId)),
      output_(BuildFilePath(PORTMAVEN_MENU_PROBE_UNIX_PATH) + L"." + std::to_wstring(processId) +
              L".txt") {
    // LoadLibraryW runs as the remote thread's start: kernel32 lies at the same address in
    // every process of the session.
    const std::wstring dll = BuildFilePath(PORTMAVEN_MENU_PROBE_UNIX_PATH);
    const std::size_t bytes = (dll.size() + 1) * sizeof(wchar_t);
    void* remote = ::VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    if (request_ == nullptr || answer_ == nullptr || remote == nullptr) {
        return;
    }
    if (::WriteProcessMemory(process, remote, dll.c_str(), bytes, nullptr)) {
        const auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
        if (const HANDLE thread =
                ::CreateRemoteThread(process, nullptr, 0, loadLibrary, remote, 0, nullptr)) {
            DWORD loadedLow = 0;
            loaded_ = ::WaitForSingleObject(thread, kAnswerTimeoutMs) == WAIT_OBJECT_0 &&
                      ::GetExitCodeThread(thread, &loadedLow) && loadedLow != 0;
            ::CloseHandle(thread);
        }
    }
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
}

MenuProbe::~MenuProbe() {
    for (const HANDLE event : {request_, answer_}) {
        if (event != nullptr) {
            ::CloseHandle(event);
        }
    }
    ::DeleteFileW(output_.c_str());
}

std::optional<std::vector<std::wstring>> MenuProbe::OpenMenuTexts() const {
    if (!loaded_) {
        return std::nullopt;
    }
    ::DeleteFileW(output_.c_str());
    ::SetEvent(request_);
    if (::WaitForSingleObject(answer_, kAnswerTimeoutMs) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    const std::optional<std::string> bytes = ReadFileBytes(output_);
    if (!bytes) {
        return std::nullopt;
    }
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes->data()),
                            bytes->size() / sizeof(wchar_t));
    std::vector<std::wstring> items;
    for (std::size_t start = 0, end = 0; (end = text.find(L'\n', start)) != std::wstring::npos;
         start = end + 1) {
        items.push_back(text.substr(start, end - start));
    }
    return items;
}

} // namespace portmaven::e2e
