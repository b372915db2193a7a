// Who holds the listed ports open, for the tray host: as the menu opens, a look starts on a
// worker and the ports show what is known; the answer comes back as a message to the host's
// window, which hands it here and writes the details line again if it changed.
#pragma once

#include "access/holder_lookup.h"
#include "access/win/scan_worker.h"
#include "ports/serial_port.h"

#include <windows.h>

#include <chrono>
#include <vector>

namespace portmaven::win {

// How long a look may take. A desktop's handle table holds tens of thousands of handles, and a
// name query that hangs costs its watchdog's time; the menu does not wait for it either way.
inline constexpr std::chrono::milliseconds kHolderScanDeadline{2000};

class PortHolderLookup {
public:
    // Answers arrive as `message` posted to `window`.
    PortHolderLookup(HWND window, UINT message);

    // The menu opens over `ports`: starts a look (or lets the running one answer) and notes
    // what is known of them now.
    void Refresh(std::vector<ports::SerialPort>& ports);

    // `message` came: notes the answer in `ports`; true when what they say about use changed.
    bool OnAnswer(std::vector<ports::SerialPort>& ports);

private:
    HolderScanWorker worker_;
    access::HolderLookup lookup_;
};

} // namespace portmaven::win
