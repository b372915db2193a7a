// Shows Portmaven at work on a virtual display for scripts/run.sh: registers a few simulated
// serial ports, starts the program, opens its tray menu with the first port's submenu, and
// holds it open until the caller has taken its screenshot.
//   demo_driver.exe <Portmaven.exe> <ready file> <done file>
#include "support/win/fake_serial_port.h"
#include "harness.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace portmaven::e2e;

namespace {

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fwprintf(stderr, L"usage: demo_driver Portmaven.exe ready-file done-file\n");
        return 2;
    }
    const std::wstring exe = argv[1];
    const std::wstring readyFile = argv[2];
    const std::wstring doneFile = argv[3];

    std::vector<std::unique_ptr<FakeSerialPort>> ports;
    RemoveLeftoverFakeSerialPorts();
    ports.push_back(std::make_unique<FakeSerialPort>(L"COM3", L"USB Serial Port"));
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
    ::Sleep(500);
    WriteFileBytes(readyFile, "ready\n");
    WaitUntil([&] { return FileExists(doneFile); }, 120000, 100);

    PressMenuKey(VK_ESCAPE, 2);
    WaitForMenuClosed();
    app.PostCommand(32775); // Exit
    app.WaitForExit();
    return 0;
}
