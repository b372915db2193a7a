// Runs each look for the ports' holders on a thread of its own and tells a window when its
// answer is there: the window's thread takes the answer, the worker never touches the GUI.
#pragma once

#include "access/holder_lookup.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace portmaven::win {

class HolderScanWorker final : public access::HolderScanner {
public:
    // Each answer is announced by posting `message` to `window`; a look stops at `deadline`
    // after it started.
    HolderScanWorker(HWND window, UINT message, access::ScanClock::duration deadline);

    // Threads still running keep what they share with this object alive after it is gone.
    void Start(std::uint64_t scan, std::vector<std::u16string> portNames) override;

    // The answer the last look left, once its message has come.
    std::optional<access::HolderScanAnswer> TakeAnswer();

private:
    struct Shared;
    struct Job;
    static DWORD WINAPI RunJob(LPVOID job);

    std::shared_ptr<Shared> shared_;
    access::ScanClock::duration deadline_;
};

} // namespace portmaven::win
