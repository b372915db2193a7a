// The native system calls that tell who holds a file open, loaded from ntdll by name: they
// are not part of the documented Win32 API, and the structures they fill are declared here
// because the headers leave them out. Every one is resolved here and nowhere else; a null
// pointer means "not available", and then nobody is said to hold a port.
#pragma once

#include "framework/win/scoped_handle.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace portmaven::win {

inline constexpr wchar_t kNtdllLibrary[] = L"ntdll.dll";

// Information classes the headers do not name.
inline constexpr auto kSystemExtendedHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(64);
// The answers that ask for a larger buffer.
inline constexpr auto kStatusInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
inline constexpr auto kStatusBufferOverflow = static_cast<NTSTATUS>(0x80000005L);
inline constexpr auto kStatusBufferTooSmall = static_cast<NTSTATUS>(0xC0000023L);

// One handle of the system's handle table.
struct SystemHandleEntry {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handleValue;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG handleAttributes;
    ULONG reserved;
};

// The handle table: a count, then that many entries.
struct SystemHandleTableHeader {
    ULONG_PTR count;
    ULONG_PTR reserved;
};

class NtdllFunctions {
public:
    NtdllFunctions() noexcept = default;

    // Loads the library and resolves the functions; false when either is missing (the library
    // is then unloaded).
    bool Load(const wchar_t* library = kNtdllLibrary) noexcept;
    void Unload() noexcept;

    decltype(&::NtQuerySystemInformation) QuerySystemInformation = nullptr;
    decltype(&::NtQueryObject) QueryObject = nullptr;

private:
    ScopedModule module_;
};

// Calls query(buffer, size, &needed) with a buffer that grows while the answer asks for more,
// up to `limit` bytes: the answer, or an empty buffer when the call failed or would not fit.
template <typename Query>
std::vector<std::byte> QueryIntoGrowingBuffer(const Query& query, std::size_t size,
                                              std::size_t limit) {
    std::vector<std::byte> buffer(size);
    for (;;) {
        ULONG needed = 0;
        const NTSTATUS status = query(buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (NT_SUCCESS(status)) {
            return buffer;
        }
        if (status != kStatusInfoLengthMismatch && status != kStatusBufferOverflow &&
            status != kStatusBufferTooSmall) {
            return {};
        }
        // The table can grow between two calls: ask for more than it said it needed.
        const std::size_t next = std::max(buffer.size() * 2, std::size_t{needed} + needed / 4);
        if (next > limit) {
            return {};
        }
        buffer.assign(next, std::byte{});
    }
}

} // namespace portmaven::win
