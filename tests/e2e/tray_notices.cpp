#include "tray_notices.h"

#include "harness.h"

#include <commctrl.h>
#include <dbt.h>
#include <shellapi.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace portmaven::e2e {

namespace {

constexpr DWORD kSendTimeoutMs = 5000;
constexpr std::size_t kTextUnits = 1024;

// A block of memory in another process, for messages whose lParam the receiver dereferences.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, std::size_t bytes)
        : process_(process),
          address_(::VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBlock() {
        if (address_ != nullptr) {
            ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    RemoteBlock(RemoteBlock&&) = delete;
    RemoteBlock& operator=(RemoteBlock&&) = delete;

    [[nodiscard]] char* At(std::size_t offset) const {
        return static_cast<char*>(address_) + offset;
    }
    explicit operator bool() const { return address_ != nullptr; }

    bool Write(std::size_t offset, const void* data, std::size_t bytes) const {
        return ::WriteProcessMemory(process_, At(offset), data, bytes, nullptr) != FALSE;
    }
    bool Read(std::size_t offset, void* data, std::size_t bytes) const {
        return ::ReadProcessMemory(process_, At(offset), data, bytes, nullptr) != FALSE;
    }

private:
    HANDLE process_;
    void* address_;
};

// Asks the tooltip for something that it writes into the remote text buffer; empty on failure.
std::wstring RemoteText(HWND tooltip, const RemoteBlock& block, UINT message, WPARAM wParam,
                        const void* request, std::size_t requestBytes) {
    const std::vector<wchar_t> zeros(kTextUnits, L'\0');
    block.Write(requestBytes, zeros.data(), kTextUnits * sizeof(wchar_t));
    if (!block.Write(0, request, requestBytes)) {
        return {};
    }
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutW(tooltip, message, wParam, reinterpret_cast<LPARAM>(block.At(0)),
                              SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) == 0) {
        return {};
    }
    std::vector<wchar_t> text(kTextUnits, L'\0');
    block.Read(requestBytes, text.data(), (kTextUnits - 1) * sizeof(wchar_t));
    return text.data();
}

bool SendDeviceChange(HWND window, WPARAM event, const void* record) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(record),
                                 SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) != 0;
}

bool SendPortRecord(HWND window, WPARAM event, std::wstring_view name) {
    // The port's name follows the header in the same record; the size counts it.
    std::vector<std::byte> record(offsetof(DEV_BROADCAST_PORT_W, dbcp_name) +
                                  (name.size() + 1) * sizeof(wchar_t));
    auto* port = reinterpret_cast<DEV_BROADCAST_PORT_W*>(record.data());
    port->dbcp_size = static_cast<DWORD>(record.size());
    port->dbcp_devicetype = DBT_DEVTYP_PORT;
    std::memcpy(port->dbcp_name, name.data(), name.size() * sizeof(wchar_t));
    return SendDeviceChange(window, event, record.data());
}

} // namespace

DWORD TrayProcessId() {
    HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    DWORD processId = 0;
    if (tray != nullptr) {
        ::GetWindowThreadProcessId(tray, &processId);
    }
    return processId;
}

std::vector<std::wstring> TooltipTexts(HWND tooltip) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(tooltip, &processId);
    HANDLE process =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) {
        return {};
    }
    std::vector<std::wstring> texts;
    {
        const std::size_t requestBytes = sizeof(TTTOOLINFOW) + sizeof(TTGETTITLE);
        const RemoteBlock block(process, requestBytes + kTextUnits * sizeof(wchar_t));
        if (block) {
            TTGETTITLE title{};
            title.dwSize = sizeof(title);
            title.cch = kTextUnits;
            title.pszTitle = reinterpret_cast<wchar_t*>(block.At(requestBytes));
            const std::wstring balloonTitle =
                RemoteText(tooltip, block, TTM_GETTITLE, 0, &title, requestBytes);
            const auto count = static_cast<UINT>(::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0));
            for (UINT i = 0; i < count; ++i) {
                TTTOOLINFOW tool{};
                tool.cbSize = sizeof(tool);
                tool.lpszText = reinterpret_cast<wchar_t*>(block.At(requestBytes));
                const std::wstring text =
                    RemoteText(tooltip, block, TTM_ENUMTOOLSW, i, &tool, requestBytes);
                texts.push_back(balloonTitle.empty() ? text : balloonTitle + L"|" + text);
            }
        }
    }
    ::CloseHandle(process);
    return texts;
}

std::vector<HWND> TrayTooltipsNaming(std::wstring_view text, bool visibleOnly) {
    std::vector<HWND> found;
    const DWORD trayProcess = TrayProcessId();
    if (trayProcess == 0) {
        return found;
    }
    for (HWND window : TopLevelWindows(trayProcess, visibleOnly)) {
        if (ClassName(window) != TOOLTIPS_CLASSW) {
            continue;
        }
        for (const std::wstring& tip : TooltipTexts(window)) {
            if (tip.find(text) != std::wstring::npos) {
                found.push_back(window);
                break;
            }
        }
    }
    return found;
}

bool PrimeTrayBalloons() {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"balloon primer", WS_OVERLAPPED, 0, 0, 10, 10,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        return false;
    }
    constexpr wchar_t kText[] = L"Priming the notification area";
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_ICON;
    icon.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    bool shown = false;
    if (::Shell_NotifyIconW(NIM_ADD, &icon)) {
        // Asked twice: the first request may be the one that is dropped.
        for (int attempt = 0; attempt < 2 && !shown; ++attempt) {
            icon.uFlags = NIF_INFO;
            std::wcscpy(icon.szInfo, kText);
            icon.dwInfoFlags = NIIF_INFO;
            ::Shell_NotifyIconW(NIM_MODIFY, &icon);
            shown = WaitUntil([&] { return !TrayTooltipsNaming(kText, true).empty(); }, 5000);
        }
        icon.uFlags = 0;
        ::Shell_NotifyIconW(NIM_DELETE, &icon);
    }
    ::DestroyWindow(window);
    return shown;
}

bool SendPortArrival(HWND window, std::wstring_view name) {
    return SendPortRecord(window, DBT_DEVICEARRIVAL, name);
}

bool SendPortRemoval(HWND window, std::wstring_view name) {
    return SendPortRecord(window, DBT_DEVICEREMOVECOMPLETE, name);
}

bool SendDevNodesChanged(HWND window) {
    return SendDeviceChange(window, DBT_DEVNODES_CHANGED, nullptr);
}

ULONGLONG ProcessCpuTime(HANDLE process) {
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        return 0;
    }
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return ticks(kernel) + ticks(user);
}

DllLoads::DllLoads(DWORD processId, std::wstring_view fileName)
    : processId_(processId), fileName_(fileName),
      debugging_(::DebugActiveProcess(processId) != FALSE) {
    if (debugging_) {
        ::DebugSetProcessKillOnExit(FALSE);
    }
}

DllLoads::~DllLoads() {
    if (debugging_) {
        Count();
        ::DebugActiveProcessStop(processId_);
    }
}

std::size_t DllLoads::Count() {
    DEBUG_EVENT event{};
    while (debugging_ && ::WaitForDebugEvent(&event, 0)) {
        DWORD status = DBG_CONTINUE;
        HANDLE file = nullptr;
        if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT) {
            file = event.u.CreateProcessInfo.hFile;
        } else if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT) {
            file = event.u.LoadDll.hFile;
            std::wstring path(1024, L'\0');
            const DWORD length =
                ::GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()), 0);
            path.resize(length < path.size() ? length : 0);
            const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
            // The modules loaded before are reported ahead of the attach breakpoint.
            if (attached_ && ::CompareStringOrdinal(name.c_str(), -1, fileName_.c_str(), -1,
                                                    TRUE) == CSTR_EQUAL) {
                ++loads_;
            }
        } else if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT) {
            if (!attached_ && event.u.Exception.ExceptionRecord.ExceptionCode ==
                                  static_cast<DWORD>(EXCEPTION_BREAKPOINT)) {
                attached_ = true;
            } else {
                // The program's own exceptions are its own to handle.
                status = DBG_EXCEPTION_NOT_HANDLED;
            }
        } else if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
            debugging_ = false;
        }
        if (file != nullptr && file != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file);
        }
        ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    }
    return loads_;
}

} // namespace portmaven::e2e
