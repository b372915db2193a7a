// Devices as the user knows them: the key their settings are kept under, read from the id
// strings real adapters report; names and hidden flags through a store, broken values in it;
// and what the menu, the notices and the port list make of them.
#include "ports/device_identity.h"
#include "ports/device_settings.h"
#include "ports/port_change_watcher.h"
#include "support/fake_port_watch_platform.h"
#include "support/memory_device_store.h"
#include "tray/port_details.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace portmaven::ports {
namespace {

SerialPort WindowsPort(std::u16string_view name, std::u16string_view instanceId,
                       std::vector<std::u16string> hardwareIds,
                       std::u16string_view manufacturer = u"") {
    SerialPort port{std::u16string(name), std::u16string(name.substr(3)),
                    u"Device (" + std::u16string(name) + u")"};
    port.device = IdentityFromWindowsIds(instanceId, hardwareIds, manufacturer);
    return port;
}

TEST(DeviceKey, FollowsTheDeviceWhateverTheIdStringsLookLike) {
    // FTDI's own bus: the serial number sits in the instance id, the hardware id is its own.
    const SerialPort ftdi = WindowsPort(u"COM3", u"FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000",
                                        {u"FTDIBUS\\COMPORT&VID_0403&PID_6001"}, u"FTDI");
    EXPECT_EQ(DeviceKey(ftdi), u"usb:0403:6001:A50285BIA");
    EXPECT_EQ(tray::PortDetailsText(ftdi), u"0403:6001 \u00b7 FTDI \u00b7 SN A50285BIA");

    // CP210x: upper-case hex in the ids, kept lower case in the key.
    const SerialPort cp210x = WindowsPort(
        u"COM4", u"USB\\VID_10C4&PID_EA60\\0001",
        {u"USB\\VID_10C4&PID_EA60&REV_0100", u"USB\\VID_10C4&PID_EA60"}, u"Silicon Labs");
    EXPECT_EQ(DeviceKey(cp210x), u"usb:10c4:ea60:0001");

    // CH340 has no serial number: Windows makes one up from where it is plugged in.
    const SerialPort ch340 = WindowsPort(u"COM5", u"USB\\VID_1A86&PID_7523\\5&1A2B3C4D&0&2",
                                         {u"USB\\VID_1A86&PID_7523&REV_0254"}, u"wch.cn");
    EXPECT_EQ(DeviceKey(ch340), u"usb:1a86:7523@5&1A2B3C4D&0&2");
    EXPECT_EQ(tray::PortDetailsText(ch340), u"1a86:7523 \u00b7 wch.cn");

    // CDC ACM on a composite device: the interface's instance id is made up too.
    const SerialPort acm = WindowsPort(
        u"COM6", u"USB\\VID_2E8A&PID_000C&MI_00\\6&2F0A7F3C&0&0000",
        {u"USB\\VID_2E8A&PID_000C&REV_0100&MI_00", u"USB\\Class_02&SubClass_02"}, u"Microsoft");
    EXPECT_EQ(DeviceKey(acm), u"usb:2e8a:000c@6&2F0A7F3C&0&0000");
    // The same with a device of its own that has a serial number.
    const SerialPort arduino = WindowsPort(u"COM8", u"USB\\VID_2341&PID_0043\\85736323838351F0E1C1",
                                           {u"USB\\VID_2341&PID_0043&REV_0001"});
    EXPECT_EQ(DeviceKey(arduino), u"usb:2341:0043:85736323838351F0E1C1");

    // Bluetooth and a mainboard port: no USB identity, the port's name is all there is.
    const SerialPort bluetooth = WindowsPort(
        u"COM7",
        u"BTHENUM\\{00001101-0000-1000-8000-00805F9B34FB}_LOCALMFG&0002\\7&2A8B9C&0&000000000000_0",
        {u"BTHENUM\\{00001101-0000-1000-8000-00805F9B34FB}_LOCALMFG&0002"}, u"Microsoft");
    EXPECT_EQ(DeviceKey(bluetooth), u"port:COM7");
    EXPECT_EQ(tray::PortDetailsText(bluetooth), u"Microsoft");
    const SerialPort com1 =
        WindowsPort(u"COM1", u"ACPI\\PNP0501\\0", {u"ACPI\\PNP0501", u"*PNP0501"});
    EXPECT_EQ(DeviceKey(com1), u"port:COM1");
    EXPECT_EQ(tray::PortDetailsText(com1), u"No device details");

    // Ids that are not four hex digits name no device.
    const SerialPort broken = WindowsPort(u"COM9", u"USB\\VID_04G3&PID_60\\X", {u"USB\\VID_&PID_"});
    EXPECT_EQ(DeviceKey(broken), u"port:COM9");

    // Linux: udev's properties, a process holding the port.
    SerialPort tty{u"/dev/ttyACM0", u"0", u"Pico (/dev/ttyACM0)"};
    tty.device = {.vendorId = NormalizeUsbId(u"2e8a"),
                  .productId = NormalizeUsbId(u"000c"),
                  .location = u"pci-0000:00:14.0-usb-0:2:1.0"};
    tty.usedBy = u"picocom (1234)";
    EXPECT_EQ(DeviceKey(tty), u"usb:2e8a:000c@pci-0000:00:14.0-usb-0:2:1.0");
    EXPECT_EQ(tray::PortDetailsText(tty), u"2e8a:000c \u00b7 in use by picocom (1234)");
}

using test::MemoryDeviceStore;

SerialPort Ftdi(std::u16string_view name) {
    return WindowsPort(name, u"FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000", {}, u"FTDI");
}

TEST(DeviceSettings, ANameFollowsTheDeviceToItsNewPortAndAnEmptyOneRestoresTheLabel) {
    MemoryDeviceStore store;
    SerialPort com3 = Ftdi(u"COM3");
    ASSERT_TRUE(SetPortName(store, com3, u"  Pico & probe "));
    EXPECT_EQ(ShownLabel(com3), u"  Pico & probe  (COM3)");

    // Windows gave the board another number: the name is still its own.
    std::vector<SerialPort> ports{WindowsPort(u"COM1", u"ACPI\\PNP0501\\0", {}), Ftdi(u"COM9")};
    ApplyDeviceSettings(ports, store);
    EXPECT_EQ(ShownLabel(ports[0]), u"Device (COM1)");
    EXPECT_EQ(ShownLabel(ports[1]), u"  Pico & probe  (COM9)");

    ASSERT_TRUE(SetPortName(store, ports[1], u""));
    EXPECT_EQ(ShownLabel(ports[1]), u"Device (COM9)");
    EXPECT_TRUE(store.values.empty());

    // 255 characters are kept, 256 are not; one beyond the basic plane counts once.
    std::u16string longest(254, u'x');
    longest += u"\U0001F600";
    EXPECT_TRUE(SetPortName(store, ports[1], longest));
    EXPECT_FALSE(SetPortName(store, ports[1], longest + u"x"));
    EXPECT_FALSE(SetPortName(store, ports[1], u"two\nlines"));
    EXPECT_EQ(ports[1].userName, longest);
    store.failWrites = true;
    EXPECT_FALSE(SetPortName(store, ports[1], u"Other"));
    EXPECT_EQ(ports[1].userName, longest);
}

TEST(DeviceSettings, BrokenOrForeignValuesCountAsNotSet) {
    MemoryDeviceStore store;
    const std::u16string key = u"usb:0403:6001:A50285BIA";
    store.values[NameValueName(key)] = std::nullopt;
    store.values[HiddenValueName(key)] = u"yes";
    std::vector<SerialPort> ports{Ftdi(u"COM3")};
    ApplyDeviceSettings(ports, store);
    EXPECT_EQ(ports[0].userName, u"");
    EXPECT_FALSE(ports[0].hidden);

    store.values[NameValueName(key)] = std::u16string(256, u'n');
    store.values[HiddenValueName(key)] = std::nullopt;
    ApplyDeviceSettings(ports, store);
    EXPECT_EQ(ports[0].userName, u"");
    EXPECT_FALSE(ports[0].hidden);

    store.values[NameValueName(key)] = u"tab\there";
    ApplyDeviceSettings(ports, store);
    EXPECT_EQ(ports[0].userName, u"");

    // Characters a store would read as structure never reach it.
    SerialPort odd = WindowsPort(u"COM2", u"USB\\VID_0403&PID_6001\\A/B%C", {});
    EXPECT_EQ(NameValueName(DeviceKey(odd)), u"usb:0403:6001:A%2FB%25C|name");
}

TEST(DeviceSettings, HiddenPortsLeaveTheListAndRaiseNoNotice) {
    MemoryDeviceStore store;
    std::vector<SerialPort> ports{Ftdi(u"COM3"),
                                  WindowsPort(u"COM7", u"BTHENUM\\X\\Y", {}, u"Microsoft")};
    ASSERT_TRUE(SetPortHidden(store, ports[1], true));
    ApplyDeviceSettings(ports, store);
    EXPECT_EQ(ShownPortIndices(ports), std::vector<std::size_t>{0});
    EXPECT_EQ(HiddenPortIndices(ports), std::vector<std::size_t>{1});
    EXPECT_EQ(PortListText(ports), u"COM3\tDevice (COM3)\t0403:6001\tA50285BIA\tFTDI\tshown\n"
                                   u"COM7\tDevice (COM7)\t\t\tMicrosoft\thidden\n");

    // The hidden Bluetooth port comes and goes with the FTDI one: only the FTDI one is told.
    test::FakePortWatchPlatform platform(store);
    PortChangeWatcher watcher(platform);
    platform.Attach(watcher);
    platform.WillEnumerate(std::vector<SerialPort>{});
    watcher.Seed();
    platform.Burst(ports);
    platform.Burst(std::vector<SerialPort>{ports[0]});
    platform.Burst(std::vector<SerialPort>{});
    ASSERT_EQ(platform.notices.size(), 2u);
    EXPECT_EQ(platform.notices[0].text, u"Device (COM3)");
    EXPECT_EQ(platform.notices[1].text, u"Device (COM3)");
    EXPECT_EQ(platform.notices[1].title, u"Serial port removed");

    // Shown again: it is listed and told about like any other.
    ASSERT_TRUE(SetPortHidden(store, ports[1], false));
    EXPECT_TRUE(store.values.empty());
    EXPECT_TRUE(NoticeDue(ports[1]));
}

} // namespace
} // namespace portmaven::ports
