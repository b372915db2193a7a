// Timing harness: from the tray callback to the menu being tracked, with 32 serial ports and
// 20 commands, next to a bare baseline that walks the same SetupAPI device set and builds an
// equal menu with the raw API. Both run interleaved in one process; prints the medians and
// their ratio. Run it under Wine: it registers its ports in the prefix and removes them again.
#include "config/command_list.h"
#include "ports/port_name.h"
#include "ports/win/serial_port_enum.h"
#include "tray/win/tray_menu.h"
#include "resource.h"

#include "support/win/fake_serial_port.h"

#include <windows.h>
#include <setupapi.h>
#include <winioctl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPorts = 32;
constexpr int kCommands = 20;
constexpr int kRounds = 200;

// The program's path: the same functions OnTrayNotify runs, stopped where tracking begins.
double TimeProgram(HWND owner, const portmaven::config::CommandList& commands,
                   std::vector<portmaven::ports::SerialPort>& ports) {
    Clock::time_point tracked{};
    const Clock::time_point start = Clock::now();
    POINT cursor{};
    ::GetCursorPos(&cursor);
    portmaven::win::ShowTrayMenu(
        owner, cursor, [&] { return portmaven::win::RefreshSerialPorts(ports); }, ports, commands,
        [&](HMENU, UINT, POINT, HWND) { tracked = Clock::now(); });
    return std::chrono::duration<double, std::micro>(tracked - start).count();
}

// The baseline: the same work written straight against the API, nothing shared with the
// program but the resources.
double TimeBaseline(HWND owner, const portmaven::config::CommandList& commands) {
    const Clock::time_point start = Clock::now();
    POINT cursor{};
    ::GetCursorPos(&cursor);
    HMODULE setupapi = ::LoadLibraryW(L"SETUPAPI.DLL");
    auto openKey = reinterpret_cast<decltype(&::SetupDiOpenDevRegKey)>(
        reinterpret_cast<void*>(::GetProcAddress(setupapi, "SetupDiOpenDevRegKey")));
    auto getDevs = reinterpret_cast<decltype(&::SetupDiGetClassDevsW)>(
        reinterpret_cast<void*>(::GetProcAddress(setupapi, "SetupDiGetClassDevsW")));
    auto getProperty = reinterpret_cast<decltype(&::SetupDiGetDeviceRegistryPropertyW)>(
        reinterpret_cast<void*>(::GetProcAddress(setupapi, "SetupDiGetDeviceRegistryPropertyW")));
    auto destroy = reinterpret_cast<decltype(&::SetupDiDestroyDeviceInfoList)>(
        reinterpret_cast<void*>(::GetProcAddress(setupapi, "SetupDiDestroyDeviceInfoList")));
    auto enumInfo = reinterpret_cast<decltype(&::SetupDiEnumDeviceInfo)>(
        reinterpret_cast<void*>(::GetProcAddress(setupapi, "SetupDiEnumDeviceInfo")));
    std::vector<std::wstring> labels;
    HDEVINFO set = getDevs(&GUID_DEVINTERFACE_COMPORT, nullptr, nullptr,
                           DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    for (DWORD i = 0;; ++i) {
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof(device);
        if (!enumInfo(set, i, &device)) {
            break;
        }
        HKEY key = openKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
        if (key == INVALID_HANDLE_VALUE) {
            continue;
        }
        wchar_t buffer[256] = {};
        DWORD type = 0;
        DWORD bytes = sizeof(buffer);
        const bool isPort = ::RegQueryValueExW(key, L"PortName", nullptr, &type,
                                               reinterpret_cast<BYTE*>(buffer), &bytes) == 0 &&
                            type == REG_SZ && ::_wcsnicmp(buffer, L"COM", 3) == 0;
        const unsigned number = isPort ? static_cast<unsigned>(::_wtoi(buffer + 3)) : 0;
        ::RegCloseKey(key);
        if (!isPort) {
            continue;
        }
        bytes = sizeof(buffer);
        if (!getProperty(set, &device, SPDRP_DEVICEDESC, &type, reinterpret_cast<BYTE*>(buffer),
                         sizeof(buffer), &bytes)) {
            buffer[0] = L'\0';
        }
        wchar_t label[300];
        ::swprintf(label, 300, L"%ls (COM%u)", buffer, number);
        labels.emplace_back(label);
    }
    destroy(set);
    ::FreeLibrary(setupapi);

    const HINSTANCE self = ::GetModuleHandleW(nullptr);
    HMENU trayMenu = ::LoadMenuW(self, MAKEINTRESOURCEW(IDR_TRAY_MENU));
    HMENU commandMenu = ::LoadMenuW(self, MAKEINTRESOURCEW(IDR_COMMAND_MENU));
    HMENU main = ::GetSubMenu(trayMenu, 0);
    HMENU popup = ::GetSubMenu(commandMenu, 0);
    ::DeleteMenu(popup, 0, MF_BYPOSITION);
    std::vector<HBITMAP> bitmaps;
    for (int i = 0; i < commands.GetCount(); ++i) {
        ::InsertMenuW(popup, static_cast<UINT>(i), MF_BYPOSITION | MF_STRING,
                      static_cast<UINT_PTR>(501 + i),
                      reinterpret_cast<const wchar_t*>(commands.At(i).szName));
        bitmaps.push_back(::LoadBitmapW(self, MAKEINTRESOURCEW(IDB_COMMAND)));
        ::SetMenuItemBitmaps(popup, static_cast<UINT>(501 + i), MF_BYCOMMAND, bitmaps.back(),
                             nullptr);
    }
    for (std::size_t p = 0; p < labels.size(); ++p) {
        ::InsertMenuW(main, static_cast<UINT>(p), MF_BYPOSITION | MF_STRING | MF_POPUP,
                      reinterpret_cast<UINT_PTR>(popup), labels[p].c_str());
        bitmaps.push_back(::LoadBitmapW(self, MAKEINTRESOURCEW(IDB_PORT)));
        ::SetMenuItemBitmaps(main, static_cast<UINT>(p), MF_BYPOSITION, bitmaps.back(), nullptr);
    }
    const int fixed[][2] = {{ID_MENU_DEVICE_MANAGER, IDB_DEVICE_MANAGER},
                            {ID_MENU_PROPERTIES, IDB_PROPERTIES},
                            {ID_MENU_ABOUT, IDB_ABOUT},
                            {ID_MENU_EXIT, IDB_EXIT}};
    for (const auto& [item, bitmap] : fixed) {
        bitmaps.push_back(::LoadBitmapW(self, MAKEINTRESOURCEW(bitmap)));
        ::SetMenuItemBitmaps(main, static_cast<UINT>(item), MF_BYCOMMAND, bitmaps.back(), nullptr);
    }
    ::SetForegroundWindow(owner);
    const Clock::time_point tracked = Clock::now();

    // Cleanup is after the clock, as the program's own happens after tracking.
    ::PostMessageW(owner, WM_NULL, 0, 0);
    for (std::size_t p = 0; p < labels.size(); ++p) {
        ::RemoveMenu(main, 0, MF_BYPOSITION);
    }
    ::DestroyMenu(trayMenu);
    ::DestroyMenu(commandMenu);
    for (HBITMAP bitmap : bitmaps) {
        ::DeleteObject(bitmap);
    }
    (void)cursor;
    return std::chrono::duration<double, std::micro>(tracked - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void DrainMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&msg);
    }
}

} // namespace

int main() {
    portmaven::e2e::RemoveLeftoverFakeSerialPorts();
    std::vector<std::unique_ptr<portmaven::e2e::FakeSerialPort>> ports;
    for (int i = 1; i <= kPorts; ++i) {
        ports.push_back(std::make_unique<portmaven::e2e::FakeSerialPort>(
            L"COM" + std::to_wstring(i), L"Benchmark Serial Port " + std::to_wstring(i)));
        if (!ports.back()->Registered()) {
            std::fprintf(stderr, "cannot register the benchmark's ports\n");
            return 1;
        }
    }
    portmaven::config::CommandList commands;
    for (int i = 1; i <= kCommands; ++i) {
        const std::u16string n(std::u16string(u"Command ") + static_cast<char16_t>(u'A' + i - 1));
        commands.AppendCommand(portmaven::config::MakeCommandRecord(
            n, u"C:\\Program Files\\TTERMPRO\\ttermpro.exe /C=%PORTNUM%"));
    }
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                   nullptr, nullptr);

    std::vector<portmaven::ports::SerialPort> found;
    std::vector<double> program;
    std::vector<double> baseline;
    for (int round = 0; round < kRounds + 10; ++round) {
        const double p = TimeProgram(owner, commands, found);
        DrainMessages();
        const double b = TimeBaseline(owner, commands);
        DrainMessages();
        if (round >= 10) { // the first rounds warm caches and the loader
            program.push_back(p);
            baseline.push_back(b);
        }
    }
    if (found.size() < static_cast<std::size_t>(kPorts)) {
        std::fprintf(stderr, "the program found %zu ports, expected %d\n", found.size(), kPorts);
        return 1;
    }
    const double programMedian = Median(program);
    const double baselineMedian = Median(baseline);
    std::printf("tray click to tracking, %d ports x %d commands, median of %d rounds\n", kPorts,
                kCommands, kRounds);
    std::printf("  program : %9.1f us\n", programMedian);
    std::printf("  baseline: %9.1f us\n", baselineMedian);
    std::printf("  ratio   : %9.3f (goal <= 1.2)\n", programMedian / baselineMedian);
    ::DestroyWindow(owner);
    return 0;
}
