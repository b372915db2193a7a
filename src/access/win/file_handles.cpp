#include "access/win/file_handles.h"

#include "framework/win/scoped_handle.h"

#include <cstring>
#include <string>

namespace portmaven::win {

namespace {

constexpr std::size_t kFirstTableBytes = std::size_t{1} << 20;
constexpr std::size_t kLargestTableBytes = std::size_t{512} << 20;

std::vector<SystemHandleEntry> HandleTable(const NtdllFunctions& ntdll) {
    const std::vector<std::byte> table = QueryIntoGrowingBuffer(
        [&](void* buffer, ULONG size, ULONG* needed) {
            return ntdll.QuerySystemInformation(kSystemExtendedHandleInformation, buffer, size,
                                                needed);
        },
        kFirstTableBytes, kLargestTableBytes);
    std::vector<SystemHandleEntry> entries;
    if (table.size() < sizeof(SystemHandleTableHeader)) {
        return entries;
    }
    SystemHandleTableHeader header{};
    std::memcpy(&header, table.data(), sizeof header);
    const std::size_t room = (table.size() - sizeof header) / sizeof(SystemHandleEntry);
    entries.resize(header.count < room ? header.count : room);
    std::memcpy(entries.data(), table.data() + sizeof header,
                entries.size() * sizeof(SystemHandleEntry));
    return entries;
}

// A File handle of this process's own, to read the type index of File objects off the table.
// The list of object types (ObjectTypesInformation) names the index too, but Wine counts it
// from 2 there and from 0 in the table; the table's own number is the one to match.
ScopedFileHandle OwnFileHandle() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return ScopedFileHandle(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
}

} // namespace

std::optional<std::vector<OpenFileHandle>> SnapshotFileHandles(const NtdllFunctions& ntdll) {
    const ScopedFileHandle own = OwnFileHandle();
    if (!own) {
        return std::nullopt;
    }
    const std::vector<SystemHandleEntry> table = HandleTable(ntdll);
    const DWORD self = ::GetCurrentProcessId();
    std::optional<USHORT> fileType;
    for (const SystemHandleEntry& entry : table) {
        if (entry.processId == self && reinterpret_cast<HANDLE>(entry.handleValue) == own.Get()) {
            fileType = entry.objectTypeIndex;
        }
    }
    if (!fileType) {
        return std::nullopt;
    }
    std::vector<OpenFileHandle> handles;
    for (const SystemHandleEntry& entry : table) {
        if (entry.objectTypeIndex == *fileType) {
            handles.push_back(
                {static_cast<DWORD>(entry.processId), reinterpret_cast<HANDLE>(entry.handleValue)});
        }
    }
    return handles;
}

} // namespace portmaven::win
