// Measures the port notices of the running program under the real API and prints:
//  - the time from the last WM_DEVICECHANGE of a burst to the new tooltip (the program's own
//    latency) and to the visible balloon (adds the shell's own delay), next to the debounce
//    plus one enumeration measured in this process, with their ratio;
//  - the CPU time the program uses in the ten seconds after a burst.
// Run it under Wine: wine-run.sh bench/notices_bench.exe
#include "support/win/fake_serial_port.h"
#include "e2e/harness.h"
#include "e2e/tray_notices.h"
#include "ports/port_change_watcher.h"
#include "ports/win/serial_port_enum.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace portmaven::e2e;

constexpr int kRuns = 5;
constexpr int kBurstMessages = 20;
constexpr DWORD kBurstGapMs = 20;

double NowMs() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER now{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Polls every millisecond; the time at which the condition first held, or a negative value.
double TimeWhen(const std::function<bool()>& condition, double timeoutMs) {
    const double start = NowMs();
    while (NowMs() - start < timeoutMs) {
        if (condition()) {
            return NowMs();
        }
        ::Sleep(1);
    }
    return -1;
}

double OneEnumerationMs() {
    const double start = NowMs();
    // Only the time is looked at.
    static_cast<void>(portmaven::win::EnumerateSerialDevices());
    return NowMs() - start;
}

} // namespace

int wmain() {
    RemoveLeftoverFakeSerialPorts();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Portmaven");
    TestFolder folder(L"notices-bench");
    PortmavenProcess app(folder);
    if (!app.WaitForHost() || TrayProcessId() == 0) {
        std::fwprintf(stderr, L"Portmaven or the notification area did not come up\n");
        return 1;
    }

    std::vector<double> toTooltip;
    std::vector<double> toBalloon;
    std::vector<double> enumeration;
    for (int run = 0; run < kRuns; ++run) {
        const std::wstring name = L"COM" + std::to_wstring(60 + run);
        const auto port = std::make_unique<FakeSerialPort>(name, L"Bench Adapter");
        if (!port->Registered()) {
            std::fwprintf(stderr, L"cannot register a port in the prefix\n");
            return 1;
        }
        for (int i = 0; i < kBurstMessages; ++i) {
            SendPortArrival(app.Host(), name);
            ::Sleep(kBurstGapMs);
        }
        SendPortArrival(app.Host(), name);
        const double last = NowMs();
        const std::wstring tip = L"Portmaven: " + name;
        const std::wstring label = L"Bench Adapter (" + name + L")";
        const double tooltipAt =
            TimeWhen([&] { return !TrayTooltipsNaming(tip, false).empty(); }, 10000);
        const double balloonAt =
            TimeWhen([&] { return !TrayTooltipsNaming(label, true).empty(); }, 10000);
        if (tooltipAt < 0 || balloonAt < 0) {
            std::fwprintf(stderr, L"no notice for %ls\n", name.c_str());
            return 1;
        }
        toTooltip.push_back(tooltipAt - last);
        toBalloon.push_back(balloonAt - last);
        enumeration.push_back(OneEnumerationMs());
        // The port goes again before the next run, quietly enough to be one more burst.
        SendPortRemoval(app.Host(), name);
        ::Sleep(1000);
    }

    const double expected =
        static_cast<double>(portmaven::ports::kPortChangeDebounce.count()) + Median(enumeration);
    std::wprintf(L"last message to tooltip: median %.1f ms over %d bursts of %d messages\n",
                 Median(toTooltip), kRuns, kBurstMessages + 1);
    std::wprintf(L"debounce + one enumeration: %.1f ms; ratio %.2f\n", expected,
                 Median(toTooltip) / expected);
    std::wprintf(L"last message to visible balloon (with the shell's own delay): median %.1f ms\n",
                 Median(toBalloon));

    ::Sleep(2000);
    const ULONGLONG before = ProcessCpuTime(app.ProcessHandle());
    ::Sleep(10000);
    const ULONGLONG used = ProcessCpuTime(app.ProcessHandle()) - before;
    std::wprintf(L"CPU time in the 10 s after the last burst: %.1f ms\n",
                 static_cast<double>(used) / 10000.0);
    return 0;
}
