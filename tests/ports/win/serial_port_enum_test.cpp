// Serial port enumeration against ports registered in the Wine prefix through SetupAPI.
#include "ports/device_identity.h"
#include "ports/device_settings.h"
#include "ports/port_name.h"
#include "ports/win/device_store.h"
#include "ports/win/serial_port_enum.h"
#include "tray/port_details.h"

#include "support/win/fake_serial_port.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace portmaven::win {
namespace {

using e2e::FakeSerialPort;

struct Found {
    std::u16string name;
    std::u16string label;
    auto operator<=>(const Found&) const = default;
};

std::vector<Found> Enumerate() {
    const std::optional<std::vector<ports::SerialPort>> ports = EnumerateSerialDevices();
    EXPECT_TRUE(ports) << ::GetLastError();
    std::vector<Found> found;
    for (const ports::SerialPort& port : ports.value_or(std::vector<ports::SerialPort>{})) {
        found.push_back({port.name, port.label});
    }
    return found;
}

// What the enumeration finds beyond the ports that were there already, sorted.
std::vector<Found> Added(const std::vector<Found>& before, std::vector<Found> after) {
    for (const Found& old : before) {
        const auto it = std::find(after.begin(), after.end(), old);
        if (it != after.end()) {
            after.erase(it);
        }
    }
    std::sort(after.begin(), after.end());
    return after;
}

class SerialPortEnumeration : public ::testing::Test {
protected:
    void SetUp() override {
        e2e::RemoveLeftoverFakeSerialPorts();
        before_ = Enumerate();
    }

    void Register(std::wstring_view portName, std::optional<std::wstring_view> description,
                  DWORD type = REG_SZ) {
        ports_.push_back(std::make_unique<FakeSerialPort>(portName, description, type));
        ASSERT_TRUE(ports_.back()->Registered()) << "cannot register a port in the prefix";
    }

    std::vector<Found> before_;
    std::vector<std::unique_ptr<FakeSerialPort>> ports_;
};

TEST_F(SerialPortEnumeration, KeepsComPortsWithTheirDescriptions) {
    Register(L"COM3", L"USB Serial Port");
    Register(L"com12", L"Lower Case Adapter");
    Register(L"COM007", L"Padded");
    Register(L"COM5", std::nullopt);
    Register(L"COM", L"No number");
    Register(L"COM3A", L"Letter");
    Register(L"COM 3", L"Blank");
    Register(L"LPT1", L"Printer Port");
    Register(L"COM9", L"Expandable", REG_EXPAND_SZ);
    Register(L"COM2147483648", L"Too big");

    EXPECT_EQ(Added(before_, Enumerate()),
              (std::vector<Found>{{u"COM12", u"Lower Case Adapter (COM12)"},
                                  {u"COM3", u"USB Serial Port (COM3)"},
                                  {u"COM5", u" (COM5)"},
                                  {u"COM7", u"Padded (COM7)"}}));
}

TEST_F(SerialPortEnumeration, KeepsBothDevicesThatReportTheSamePort) {
    Register(L"COM4", L"First");
    Register(L"COM4", L"Second");
    EXPECT_EQ(Added(before_, Enumerate()),
              (std::vector<Found>{{u"COM4", u"First (COM4)"}, {u"COM4", u"Second (COM4)"}}));
}

TEST_F(SerialPortEnumeration, LabelsFollowEnumerationOrder) {
    Register(L"COM21", L"Alpha");
    Register(L"COM22", L"Beta");
    std::vector<std::u16string> labels;
    for (const Found& port : Enumerate()) {
        labels.push_back(port.label);
    }
    EXPECT_NE(std::find(labels.begin(), labels.end(), u"Alpha (COM21)"), labels.end());
    EXPECT_NE(std::find(labels.begin(), labels.end(), u"Beta (COM22)"), labels.end());
}

// The port of `name` among those present, or null.
const ports::SerialPort* Find(const std::vector<ports::SerialPort>& ports,
                              std::u16string_view name) {
    const auto it = std::find_if(ports.begin(), ports.end(),
                                 [&](const ports::SerialPort& port) { return port.name == name; });
    return it == ports.end() ? nullptr : &*it;
}

TEST_F(SerialPortEnumeration, ReadsTheDevicesIdentityAndTheUsersSettingsUnderItsKey) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kDevicesKeyPath);
    FakeSerialPort ftdi(L"COM3", L"USB Serial Port",
                        {.instanceId = L"FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000",
                         .hardwareIds = {L"FTDIBUS\\COMPORT&VID_0403&PID_6001"},
                         .manufacturer = L"FTDI"});
    FakeSerialPort ch340(
        L"COM4", L"USB-SERIAL CH340",
        {.instanceId = L"USB\\VID_1A86&PID_7523\\5&1A2B3C4D&0&2",
         .hardwareIds = {L"USB\\VID_1A86&PID_7523&REV_0254", L"USB\\VID_1A86&PID_7523"},
         .manufacturer = L"wch.cn"});
    ASSERT_TRUE(ftdi.Registered());
    ASSERT_TRUE(ch340.Registered());

    std::optional<std::vector<ports::SerialPort>> ports = EnumerateKnownPorts();
    ASSERT_TRUE(ports);
    ports::SerialPort* com3 = const_cast<ports::SerialPort*>(Find(*ports, u"COM3"));
    const ports::SerialPort* com4 = Find(*ports, u"COM4");
    ASSERT_TRUE(com3 && com4);
    EXPECT_EQ(ports::DeviceKey(*com3), u"usb:0403:6001:A50285BIA");
    EXPECT_EQ(tray::PortDetailsText(*com3), u"0403:6001 \u00b7 FTDI \u00b7 SN A50285BIA");
    EXPECT_EQ(ports::DeviceKey(*com4), u"usb:1a86:7523@5&1A2B3C4D&0&2");

    // A name given under COM3 follows the board to COM9; a hidden flag of another type than
    // text is not ours and counts as not set.
    RegistryDeviceStore store;
    ASSERT_TRUE(ports::SetPortName(store, *com3, u"Pico probe"));
    const DWORD foreign = 1;
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kDevicesKeyPath,
                                L"usb:1a86:7523@5&1A2B3C4D&0&2|hidden", REG_DWORD, &foreign,
                                sizeof(foreign)),
              ERROR_SUCCESS);
    ASSERT_TRUE(ftdi.SetPortName(L"COM9"));
    ports = EnumerateKnownPorts();
    ASSERT_TRUE(ports);
    EXPECT_EQ(Find(*ports, u"COM3"), nullptr);
    ASSERT_NE(Find(*ports, u"COM9"), nullptr);
    EXPECT_EQ(ports::ShownLabel(*Find(*ports, u"COM9")), u"Pico probe (COM9)");
    ASSERT_NE(Find(*ports, u"COM4"), nullptr);
    EXPECT_FALSE(Find(*ports, u"COM4")->hidden);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kDevicesKeyPath);
}

TEST(SetupApiLoading, LibraryIsUnloadedAfterEachEnumeration) {
    // Nothing else in this process keeps the library: the test registrar loads it only while
    // it registers.
    ASSERT_EQ(::GetModuleHandleW(L"setupapi.dll"), nullptr);
    ASSERT_TRUE(EnumerateSerialDevices());
    EXPECT_EQ(::GetModuleHandleW(L"setupapi.dll"), nullptr);
}

TEST(SetupApiLoading, MissingFunctionsFailWithCallNotImplemented) {
    ASSERT_EQ(::GetModuleHandleW(L"msimg32.dll"), nullptr);
    ::SetLastError(0);
    // A library that is there but lacks the device-setup functions.
    EXPECT_FALSE(EnumerateSerialDevices(L"msimg32.dll"));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
    EXPECT_EQ(::GetModuleHandleW(L"msimg32.dll"), nullptr) << "the library was not unloaded";
}

TEST(SetupApiLoading, MissingLibraryFailsWithTheLoadersError) {
    ::SetLastError(0);
    EXPECT_FALSE(EnumerateSerialDevices(L"no_such_setupapi.dll"));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

} // namespace
} // namespace portmaven::win
