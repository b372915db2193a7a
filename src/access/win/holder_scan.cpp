#include "access/win/holder_scan.h"

#include "access/win/device_names.h"
#include "access/win/file_handles.h"
#include "framework/win/wide_text.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <optional>

namespace portmaven::win {

namespace {

// Names an event that the program's first name query waits for before it asks: lets the
// end-to-end tests make one query hang under Wine, where none does by itself, as the query on
// some handles hangs on Windows.
constexpr wchar_t kNameQueryGateVariable[] = L"PORTMAVEN_TEST_NAME_QUERY_GATE";

std::wstring NameQueryGate() {
    std::wstring gate(256, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(kNameQueryGateVariable, gate.data(),
                                                   static_cast<DWORD>(gate.size()));
    gate.resize(length < gate.size() ? length : 0);
    return gate;
}

NameQueryFunction ObjectNameQuery(std::shared_ptr<const NtdllFunctions> ntdll) {
    return [ntdll = std::move(ntdll), gate = NameQueryGate()](HANDLE object) {
        static std::atomic<bool> gatePassed{false};
        if (!gate.empty() && !gatePassed.exchange(true)) {
            const ScopedKernelHandle event(::OpenEventW(SYNCHRONIZE, FALSE, gate.c_str()));
            if (event) {
                ::WaitForSingleObject(event.Get(), INFINITE);
            }
        }
        return QueryObjectName(*ntdll, object);
    };
}

// The user a process runs as, as the bytes of its SID; empty when it cannot be told.
std::vector<BYTE> UserOf(HANDLE process) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &token)) {
        return {};
    }
    const ScopedKernelHandle ownedToken(token);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    if (size == 0 || !::GetTokenInformation(token, TokenUser, user.data(), size, &size)) {
        return {};
    }
    const PSID sid = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
    const BYTE* begin = static_cast<const BYTE*>(sid);
    return {begin, begin + ::GetLengthSid(sid)};
}

// "putty" for C:\Program Files\PuTTY\putty.exe.
std::u16string ProgramName(HANDLE process) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        auto size = static_cast<DWORD>(path.size());
        if (::QueryFullProcessImageNameW(process, 0, path.data(), &size)) {
            path.resize(size);
            break;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || path.size() >= 32768) {
            return {};
        }
        path.resize(path.size() * 2);
    }
    std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    constexpr std::wstring_view kExecutable = L".exe";
    if (name.size() > kExecutable.size() &&
        ::CompareStringOrdinal(name.c_str() + name.size() - kExecutable.size(), -1,
                               kExecutable.data(), -1, TRUE) == CSTR_EQUAL) {
        name.resize(name.size() - kExecutable.size());
    }
    return ToUtf16(name);
}

struct PortDevices {
    std::u16string port;
    std::vector<std::wstring> names;
};

// The port whose device `objectName` names, if any.
const PortDevices* PortNamed(const std::vector<PortDevices>& ports,
                             const std::wstring& objectName) {
    for (const PortDevices& port : ports) {
        for (const std::wstring& name : port.names) {
            if (::CompareStringOrdinal(name.c_str(), static_cast<int>(name.size()),
                                       objectName.c_str(), static_cast<int>(objectName.size()),
                                       TRUE) == CSTR_EQUAL) {
                return &port;
            }
        }
    }
    return nullptr;
}

bool StillHung(const std::vector<HungHandle>& hung, const OpenFileHandle& handle) {
    return std::ranges::any_of(hung, [&](const HungHandle& entry) {
        return entry.processId == handle.processId && entry.value == handle.value;
    });
}

class Scan {
public:
    Scan(access::HolderScanAnswer& answer, std::vector<PortDevices> ports,
         std::vector<HungHandle>& hung, NameQueryFunction query)
        : answer_(answer), ports_(std::move(ports)), hung_(hung), names_(std::move(query)),
          self_(::GetCurrentProcessId()), user_(UserOf(::GetCurrentProcess())) {}

    // The handles of one process; false when the deadline came first.
    bool LookInto(DWORD processId, const std::vector<OpenFileHandle>& handles,
                  access::ScanClock::time_point deadline) {
        if (processId == self_ || user_.empty()) {
            return true;
        }
        const ScopedKernelHandle process(::OpenProcess(
            PROCESS_DUP_HANDLE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
        if (!process || UserOf(process.Get()) != user_) {
            return true;
        }
        std::optional<std::u16string> program;
        for (const OpenFileHandle& handle : handles) {
            if (access::ScanClock::now() > deadline) {
                return false;
            }
            if (StillHung(hung_, handle)) {
                continue;
            }
            HANDLE duplicate = nullptr;
            if (!::DuplicateHandle(process.Get(), handle.value, ::GetCurrentProcess(), &duplicate,
                                   0, FALSE, DUPLICATE_SAME_ACCESS)) {
                continue;
            }
            NameAnswer name = names_.NameOf(ScopedKernelHandle(duplicate));
            if (name.hung) {
                hung_.push_back({handle.processId, handle.value, *name.hung});
            }
            const PortDevices* port = name.name ? PortNamed(ports_, *name.name) : nullptr;
            if (port == nullptr) {
                continue;
            }
            if (!program) {
                program = ProgramName(process.Get());
            }
            std::vector<access::PortHolder>& holders = answer_.holders[port->port];
            const access::PortHolder holder{*program, processId};
            if (std::ranges::find(holders, holder) == holders.end()) {
                holders.push_back(holder);
            }
        }
        return true;
    }

private:
    access::HolderScanAnswer& answer_;
    std::vector<PortDevices> ports_;
    std::vector<HungHandle>& hung_;
    GuardedNameQuery names_;
    DWORD self_;
    std::vector<BYTE> user_;
};

} // namespace

access::HolderScanAnswer ScanPortHolders(std::uint64_t scan,
                                         const std::vector<std::u16string>& portNames,
                                         access::ScanClock::time_point deadline,
                                         std::vector<HungHandle>& hung) {
    access::HolderScanAnswer answer{.scan = scan, .complete = false, .holders = {}};
    std::erase_if(hung, [](const HungHandle& entry) { return !entry.query.StillRunning(); });
    auto ntdll = std::make_shared<NtdllFunctions>();
    if (!ntdll->Load()) {
        return answer;
    }
    std::vector<PortDevices> ports;
    for (const std::u16string& port : portNames) {
        std::vector<std::wstring> names = DeviceNamesOf(ToWide(port));
        if (!names.empty()) {
            ports.push_back({port, std::move(names)});
        }
    }
    if (ports.empty()) {
        answer.complete = true;
        return answer;
    }
    const std::optional<std::vector<OpenFileHandle>> handles = SnapshotFileHandles(*ntdll);
    if (!handles) {
        return answer;
    }
    std::map<DWORD, std::vector<OpenFileHandle>> byProcess;
    for (const OpenFileHandle& handle : *handles) {
        byProcess[handle.processId].push_back(handle);
    }
    Scan look(answer, std::move(ports), hung, ObjectNameQuery(ntdll));
    for (const auto& [processId, processHandles] : byProcess) {
        if (!look.LookInto(processId, processHandles, deadline)) {
            return answer;
        }
    }
    answer.complete = true;
    return answer;
}

} // namespace portmaven::win
