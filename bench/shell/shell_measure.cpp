// Measures the application shell under the real API and prints the numbers with their ratio:
//  - time from process start until the tray icon is in the notification area;
//  - private memory of the idle program next to a minimal Win32 window program.
// Run it under Wine: wine-run.sh shell_measure.exe <Portmaven.exe> <minimal_window.exe>
#include "harness.h"

#include "tray/menu_ids.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using portmaven::e2e::PortmavenProcess;
using portmaven::e2e::WaitUntil;

struct Memory {
    double privateKiB;
    double workingSetKiB;
};

// Committed private memory (heaps, stacks, the program's own data), walked region by region:
// Wine reports no PrivateUsage, and the working set is mostly shared system DLL images.
double PrivateCommittedKiB(HANDLE process) {
    double total = 0;
    MEMORY_BASIC_INFORMATION region{};
    const char* address = nullptr;
    while (::VirtualQueryEx(process, address, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += static_cast<double>(region.RegionSize) / 1024.0;
        }
        address = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    }
    return total;
}

Memory MemoryOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(process, &counters, sizeof counters);
    return {PrivateCommittedKiB(process), counters.WorkingSetSize / 1024.0};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::wstring CopyBeside(const std::wstring& source, const std::wstring& folder) {
    const std::wstring target = folder + L"\\Portmaven.exe";
    ::CopyFileW(source.c_str(), target.c_str(), FALSE);
    return target;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: shell_measure Portmaven.exe minimal_window.exe\n");
        return 2;
    }
    const portmaven::win::test_support::TempFolder scratch(L"portmaven-measure");
    const std::wstring exe = CopyBeside(argv[1], scratch.Path());

    constexpr int kRuns = 5;
    std::vector<double> startMs;
    std::vector<double> portmavenPrivate;
    std::vector<double> portmavenWorkingSet;
    for (int run = 0; run < kRuns; ++run) {
        LARGE_INTEGER frequency{};
        LARGE_INTEGER begin{};
        LARGE_INTEGER end{};
        ::QueryPerformanceFrequency(&frequency);
        ::QueryPerformanceCounter(&begin);
        PortmavenProcess app(exe);
        if (!app.WaitForHost(30000)) {
            std::fwprintf(stderr, L"Portmaven did not come up\n");
            return 1;
        }
        ::QueryPerformanceCounter(&end);
        startMs.push_back(1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) /
                          static_cast<double>(frequency.QuadPart));
        ::Sleep(1500); // idle
        const Memory memory = MemoryOf(app.ProcessHandle());
        portmavenPrivate.push_back(memory.privateKiB);
        portmavenWorkingSet.push_back(memory.workingSetKiB);
        app.PostCommand(portmaven::tray::kExitId);
        app.WaitForExit(10000);
    }

    std::vector<double> baselinePrivate;
    std::vector<double> baselineWorkingSet;
    for (int run = 0; run < kRuns; ++run) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
        if (!::CreateProcessW(argv[2], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info)) {
            std::fwprintf(stderr, L"cannot start the baseline\n");
            return 1;
        }
        ::WaitForInputIdle(info.hProcess, 10000);
        ::Sleep(1500);
        const Memory memory = MemoryOf(info.hProcess);
        baselinePrivate.push_back(memory.privateKiB);
        baselineWorkingSet.push_back(memory.workingSetKiB);
        ::TerminateProcess(info.hProcess, 0);
        ::WaitForSingleObject(info.hProcess, 10000);
        ::CloseHandle(info.hProcess);
        ::CloseHandle(info.hThread);
    }

    const double pmPrivate = Median(portmavenPrivate);
    const double basePrivate = Median(baselinePrivate);
    std::wprintf(L"start to tray icon: median %.1f ms over %d runs\n", Median(startMs), kRuns);
    std::wprintf(
        L"idle private committed memory: Portmaven %.0f KiB, minimal window %.0f KiB, ratio %.2f\n",
        pmPrivate, basePrivate, pmPrivate / basePrivate);
    std::wprintf(L"idle working set:    Portmaven %.0f KiB, minimal window %.0f KiB, ratio %.2f\n",
                 Median(portmavenWorkingSet), Median(baselineWorkingSet),
                 Median(portmavenWorkingSet) / Median(baselineWorkingSet));
    return 0;
}
