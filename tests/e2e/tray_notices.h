// What the shell shows for a tray icon, read from outside: the balloons and tooltips that the
// notification area's process draws, and the device-change messages the system sends to a
// program's windows. Used by the end-to-end tests of the port notices and their benchmark.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace portmaven::e2e {

// The process that owns the notification area (under Wine, explorer.exe), or 0.
DWORD TrayProcessId();

// The texts of every tool of a tooltip window of another process, each as "title|text" for a
// balloon (whose title is its own) and as the text for an ordinary tool.
std::vector<std::wstring> TooltipTexts(HWND tooltip);

// The tooltip windows of the notification area's process (all, or only the visible ones)
// whose texts contain `text`.
std::vector<HWND> TrayTooltipsNaming(std::wstring_view text, bool visibleOnly);

// Under Wine the notification area drops the first balloon asked of it in a session. Shows one
// on an icon of this process, so that the balloons that follow are shown; true when it showed.
bool PrimeTrayBalloons();

// WM_DEVICECHANGE as the system sends it about a serial port: an arrival or a completed
// removal of the port `name` ("COM5"), or DBT_DEVNODES_CHANGED. Sent, not posted: the record
// travels with the message only while the sender waits. True when the window answered.
bool SendPortArrival(HWND window, std::wstring_view name);
bool SendPortRemoval(HWND window, std::wstring_view name);
bool SendDevNodesChanged(HWND window);

// The CPU time (kernel and user) a process has used so far, in 100 ns units.
ULONGLONG ProcessCpuTime(HANDLE process);

// Counts how often a process loads a DLL, as the loader reports each load to a debugger; the
// program loads the device-setup library once for each enumeration of the ports. The thread
// that makes it must be the one that calls Count, and the process waits at each event until
// Count has seen it.
class DllLoads {
public:
    DllLoads(DWORD processId, std::wstring_view fileName);
    // Lets the process run on without a debugger.
    ~DllLoads();
    DllLoads(const DllLoads&) = delete;
    DllLoads& operator=(const DllLoads&) = delete;
    DllLoads(DllLoads&&) = delete;
    DllLoads& operator=(DllLoads&&) = delete;

    // Takes the events reported so far; the loads since the attach was complete.
    std::size_t Count();
    // The process has reported the attach complete (its first breakpoint).
    [[nodiscard]] bool Attached() const { return attached_; }

private:
    DWORD processId_;
    std::wstring fileName_;
    bool debugging_ = false;
    bool attached_ = false;
    std::size_t loads_ = 0;
};

} // namespace portmaven::e2e
