// Shows Portmaven at work on a virtual display for scripts/run.sh: registers a few simulated
// serial ports, starts the program, opens its tray menu with the first port's submenu, and
// holds it open until the caller has taken its screenshot.
//   demo_driver.exe [--readme] <Portmaven.exe> <ready file> <done file>
// The ready file holds the screen area worth showing (ImageMagick's WxH+X+Y). With --readme,
// the program gets a few example commands, and after the menu its Configure dialog is shown
// the same way, through "<ready file>.configure" and "<done file>.configure".
#include "support/win/fake_serial_port.h"
#include "harness.h"

#include "tray/menu_ids.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace portmaven::e2e;

namespace {

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Geometry(const RECT& rect) {
    return std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top) +
           "+" + std::to_string(rect.left) + "+" + std::to_string(rect.top) + "\n";
}

// The area of every popup menu on screen.
RECT MenusArea() {
    RECT area{};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            if (::IsWindowVisible(window) && ClassName(window) == L"#32768") {
                RECT rect{};
                ::GetWindowRect(window, &rect);
                auto* total = reinterpret_cast<RECT*>(param);
                ::UnionRect(total, total, &rect);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&area));
    return area;
}

// Tells the caller what to capture and waits until it has.
void ShowUntilDone(const std::wstring& readyFile, const std::wstring& doneFile, const RECT& area) {
    ::Sleep(500);
    WriteFileBytes(readyFile, Geometry(area));
    WaitUntil([&] { return FileExists(doneFile); }, 120000, 100);
}

// Commands like those a reader of the README would set up.
void WriteExampleCommands(const std::wstring& exe) {
    const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
    WriteConfigFile(folder + L"\\Portmaven.cfg",
                    {{u"PuTTY", u"\"C:\\Program Files\\PuTTY\\putty.exe\" -serial COM%PORTNUM% "
                                u"-sercfg 115200,8,n,1,N"},
                     {u"plink in Windows Terminal",
                      u"wt new-tab plink.exe -serial COM%PORTNUM% -sercfg 115200,8,n,1,N"},
                     {u"Tera Term", u"\"C:\\Program Files (x86)\\teraterm\\ttermpro.exe\" "
                                    u"/C=%PORTNUM% /BAUD=115200"},
                     {u"RealTerm", u"realterm.exe port=%PORTNUM% baud=115200"}});
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const bool readme = argc > 1 && std::wstring(argv[1]) == L"--readme";
    const int first = readme ? 2 : 1;
    if (argc < first + 3) {
        std::fwprintf(stderr,
                      L"usage: demo_driver [--readme] Portmaven.exe ready-file done-file\n");
        return 2;
    }
    const std::wstring exe = argv[first];
    const std::wstring readyFile = argv[first + 1];
    const std::wstring doneFile = argv[first + 2];
    if (readme) {
        WriteExampleCommands(exe);
    }

    std::vector<std::unique_ptr<FakeSerialPort>> ports;
    RemoveLeftoverFakeSerialPorts();
    // A board on FTDI's own bus, so that the submenu's details line has something to show.
    ports.push_back(std::make_unique<FakeSerialPort>(
        L"COM3", L"USB Serial Port",
        FakeDevice{.instanceId = L"FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000",
                   .hardwareIds = {L"FTDIBUS\\COMPORT&VID_0403&PID_6001"},
                   .manufacturer = L"FTDI"}));
    ports.push_back(std::make_unique<FakeSerialPort>(L"COM1", L"Communications Port"));
    ports.push_back(
        std::make_unique<FakeSerialPort>(L"COM7", L"Standard Serial over Bluetooth link"));

    PortmavenProcess app(exe);
    if (!app.WaitForHost()) {
        std::fwprintf(stderr, L"Portmaven did not start\n");
        return 1;
    }
    if (!app.OpenTrayMenu(WM_RBUTTONUP)) {
        std::fwprintf(stderr, L"the tray menu did not open\n");
        return 1;
    }
    PressMenuKey(VK_DOWN);  // the first port
    PressMenuKey(VK_RIGHT); // its command submenu
    ShowUntilDone(readyFile, doneFile, MenusArea());

    PressMenuKey(VK_ESCAPE, 2);
    WaitForMenuClosed();
    if (readme) {
        app.PostCommand(portmaven::tray::kPropertiesId);
        const HWND configure = app.WaitForWindow(L"Configure");
        if (configure == nullptr) {
            std::fwprintf(stderr, L"the Configure dialog did not open\n");
            return 1;
        }
        RECT area{};
        ::GetWindowRect(configure, &area);
        ShowUntilDone(readyFile + L".configure", doneFile + L".configure", area);
        ::PostMessageW(configure, WM_COMMAND, IDCANCEL, 0);
        WaitUntil([&] { return !::IsWindow(configure); });
    }
    app.PostCommand(portmaven::tray::kExitId);
    app.WaitForExit();
    return 0;
}
