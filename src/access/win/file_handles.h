// The File handles open anywhere on the system, from its handle table: the handles that may
// hold a serial port open. Other kinds of objects (keys, events, sections) are left out by
// their type.
#pragma once

#include "access/win/ntdll_functions.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace portmaven::win {

struct OpenFileHandle {
    DWORD processId = 0;
    // The handle's value in its own process.
    HANDLE value = nullptr;
};

// Every File handle of every process; nullopt when the handle table cannot be read.
std::optional<std::vector<OpenFileHandle>> SnapshotFileHandles(const NtdllFunctions& ntdll);

} // namespace portmaven::win
