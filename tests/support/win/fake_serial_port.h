// Serial ports for tests: a device of the Ports class with a COM-port interface, registered in
// the Wine prefix through SetupAPI itself and removed again on destruction. Tests that
// register ports hold the ctest lock "serial-ports", since every process sees them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace portmaven::e2e {

// The device behind a port as a real bus driver would register it.
struct FakeDevice {
    // "USB\\VID_0403&PID_6001\\A50285BI"; a device left by an earlier run under it goes first.
    std::wstring instanceId;
    std::vector<std::wstring> hardwareIds;
    std::optional<std::wstring> manufacturer;
};

class FakeSerialPort {
public:
    // Registers a present device whose key holds "PortName" = portName (of the given registry
    // type) and whose device description is `description` (none when nullopt). Registration
    // failures are reported by Registered().
    FakeSerialPort(std::wstring_view portName, std::optional<std::wstring_view> description,
                   DWORD portNameType = REG_SZ);
    // The same for a device of a real bus, under its own instance id.
    FakeSerialPort(std::wstring_view portName, std::optional<std::wstring_view> description,
                   const FakeDevice& device);
    ~FakeSerialPort();
    FakeSerialPort(const FakeSerialPort&) = delete;
    FakeSerialPort& operator=(const FakeSerialPort&) = delete;
    FakeSerialPort(FakeSerialPort&&) = delete;
    FakeSerialPort& operator=(FakeSerialPort&&) = delete;

    [[nodiscard]] bool Registered() const noexcept { return registered_; }
    [[nodiscard]] const std::wstring& InstanceId() const noexcept { return instanceId_; }

    // Writes another "PortName", as when the system gives the device another number.
    bool SetPortName(std::wstring_view portName);

private:
    void Register(std::wstring_view portName, std::optional<std::wstring_view> description,
                  DWORD portNameType, const FakeDevice* device);

    std::wstring instanceId_;
    bool registered_ = false;
};

// Removes every port left behind by a test that did not finish (devices of this registrar).
void RemoveLeftoverFakeSerialPorts();

} // namespace portmaven::e2e
