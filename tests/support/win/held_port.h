// A serial port that a test can hold open under Wine without hardware: a port registered in
// the prefix whose dosdevices entry leads to a new pseudo-terminal, and a helper process that
// opens it as a terminal program does. Tests that use them hold the ctest lock "serial-ports".
#pragma once

#include "support/win/fake_serial_port.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace portmaven::e2e {

class PtySerialPort {
public:
    // Registers `portName` ("COM21") and points its dosdevices entry at a pseudo-terminal that
    // a process on the Linux side keeps open; Ready() tells whether both happened.
    PtySerialPort(std::wstring_view portName, std::wstring_view description);
    // The entry and the terminal go, and the registration.
    ~PtySerialPort();
    PtySerialPort(const PtySerialPort&) = delete;
    PtySerialPort& operator=(const PtySerialPort&) = delete;
    PtySerialPort(PtySerialPort&&) = delete;
    PtySerialPort& operator=(PtySerialPort&&) = delete;

    [[nodiscard]] bool Ready() const noexcept { return ready_; }

private:
    FakeSerialPort registration_;
    std::wstring entry_;
    std::wstring readyFile_;
    bool ready_ = false;
};

// The helper holding a port open; its details line says "in use by port_holder (<id>)".
class PortHolderProcess {
public:
    explicit PortHolderProcess(std::wstring_view portName);
    ~PortHolderProcess();
    PortHolderProcess(const PortHolderProcess&) = delete;
    PortHolderProcess& operator=(const PortHolderProcess&) = delete;
    PortHolderProcess(PortHolderProcess&&) = delete;
    PortHolderProcess& operator=(PortHolderProcess&&) = delete;

    // Whether it opened the port.
    [[nodiscard]] bool Holding() const noexcept { return holding_; }
    [[nodiscard]] DWORD ProcessId() const noexcept { return processId_; }
    // Ends it, as a crash or a closed terminal would, and waits until it is gone.
    void End();

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    bool holding_ = false;
};

} // namespace portmaven::e2e
