// The udev enumeration against a umockdev testbed (the test runs under umockdev's preload, so
// that libudev and /dev see the testbed instead of the machine).
#include "ports/linux/serial_port_enum.h"

#include "support/linux/umockdev_testbed.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace portmaven::linux_desktop {
namespace {

using test::UsbSerialAdapter;

const UsbSerialAdapter kFtdiAdapter{
    .tty = "ttyUSB0",
    .busPort = "1-1",
    .properties = {{"ID_MODEL", "FT232R_USB_UART"},
                   {"ID_MODEL_FROM_DATABASE", "FT232 Serial (UART) IC"},
                   {"ID_VENDOR_ID", "0403"}},
    .driver = "ftdi_sio",
};

// A second adapter whose model only the device itself reports (blanks as underscores).
const UsbSerialAdapter kCp2102Adapter{
    .tty = "ttyUSB10",
    .busPort = "1-3",
    .properties = {{"ID_MODEL", "CP2102_USB_to_UART_Bridge_Controller"}},
    .driver = "cp210x",
};

// An adapter without any model property: its driver's name stands for it.
const UsbSerialAdapter kPl2303Adapter{
    .tty = "ttyUSB2", .busPort = "1-4", .properties = {}, .driver = "pl2303"};

// A board that is a USB device itself: its tty hangs off the USB interface, with no
// usb-serial device between them.
constexpr char kCdcAcmBoard[] = R"(P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/tty/ttyACM0
N: ttyACM0
E: DEVNAME=/dev/ttyACM0
E: SUBSYSTEM=tty
E: ID_MODEL=Pico
E: ID_MODEL_FROM_DATABASE=RP2040 Board

P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0
E: SUBSYSTEM=usb
E: DEVTYPE=usb_interface
L: driver=../../../../../bus/usb/drivers/cdc_acm
)";

// What a PC reports whether or not a port is there, and a virtual console without a parent.
constexpr char kPhantomAndVirtual[] = R"(P: /devices/platform/serial8250/tty/ttyS5
N: ttyS5
E: DEVNAME=/dev/ttyS5
E: SUBSYSTEM=tty

P: /devices/platform/serial8250
E: SUBSYSTEM=platform
L: driver=../../bus/platform/drivers/serial8250

P: /devices/virtual/tty/tty0
N: tty0
E: DEVNAME=/dev/tty0
E: SUBSYSTEM=tty
)";

class UdevEnumeration : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(umockdev_in_mock_environment())
            << "run this test through umockdev-wrapper, which preloads the udev mock";
    }

    void Add(const std::string& record) {
        std::string error;
        ASSERT_TRUE(testbed_.Add(record, error)) << error;
    }

    test::UmockdevTestbed testbed_;
};

TEST_F(UdevEnumeration, LabelsNodesAndNaturalOrder) {
    for (const UsbSerialAdapter& adapter : {kFtdiAdapter, kCp2102Adapter, kPl2303Adapter}) {
        Add(RecordOf(adapter));
    }
    Add(kCdcAcmBoard);
    Add(kPhantomAndVirtual);
    const auto ports = EnumerateSerialPorts();
    ASSERT_TRUE(ports);
    std::vector<std::u16string> labels;
    std::vector<std::u16string> devices;
    std::vector<std::u16string> numbers;
    for (const ports::SerialPort& port : *ports) {
        labels.push_back(port.label);
        devices.push_back(port.name);
        numbers.push_back(port.number);
    }
    EXPECT_EQ(labels, (std::vector<std::u16string>{
                          u"RP2040 Board (/dev/ttyACM0)",
                          u"FT232 Serial (UART) IC (/dev/ttyUSB0)",
                          u"pl2303 (/dev/ttyUSB2)",
                          u"CP2102 USB to UART Bridge Controller (/dev/ttyUSB10)",
                      }));
    EXPECT_EQ(devices, (std::vector<std::u16string>{u"/dev/ttyACM0", u"/dev/ttyUSB0",
                                                    u"/dev/ttyUSB2", u"/dev/ttyUSB10"}));
    EXPECT_EQ(numbers, (std::vector<std::u16string>{u"0", u"0", u"2", u"10"}));
}

TEST_F(UdevEnumeration, NoPortsIsAnEmptyListNotAFailure) {
    Add(kPhantomAndVirtual);
    const auto ports = EnumerateSerialPorts();
    ASSERT_TRUE(ports);
    EXPECT_TRUE(ports->empty());
}

} // namespace
} // namespace portmaven::linux_desktop
