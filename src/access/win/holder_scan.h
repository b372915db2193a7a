// Who holds each port open, found without opening any port: the File handles of the user's own
// processes whose object name is one of the port's device names. Other users' processes,
// elevated ones and services cannot be opened, and say nothing; nothing asks for elevation.
// It can take long (every handle of the system), so it runs on a worker, never on the GUI
// thread.
#pragma once

#include "access/holder_lookup.h"
#include "access/win/name_query.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace portmaven::win {

// A handle whose name query did not answer in time, while it may still be running: it is not
// asked again until it has returned, so that one such handle does not cost a thread per look.
struct HungHandle {
    DWORD processId = 0;
    HANDLE value = nullptr;
    HungQuery query;
};

// Looks for the holders of `portNames`; stops at `deadline` with what it has (then the answer
// is incomplete). `hung` carries the handles left hanging from one look to the next.
access::HolderScanAnswer ScanPortHolders(std::uint64_t scan,
                                         const std::vector<std::u16string>& portNames,
                                         access::ScanClock::time_point deadline,
                                         std::vector<HungHandle>& hung);

} // namespace portmaven::win
