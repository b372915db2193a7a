// The udev enumeration against a umockdev testbed (the test runs under umockdev's preload, so
// that libudev and /dev see the testbed instead of the machine).
#include "ports/linux/serial_port_enum_udev.h"

#include <umockdev.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace portmaven::qt {
namespace {

struct GObjectUnref {
    void operator()(UMockdevTestbed* testbed) const noexcept { g_object_unref(testbed); }
};

// Devices as umockdev-record writes them: each device, then its parents up the tree.
constexpr char kFtdiAdapter[] =
    R"(P: /devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0/tty/ttyUSB0
N: ttyUSB0
E: DEVNAME=/dev/ttyUSB0
E: SUBSYSTEM=tty
E: ID_MODEL=FT232R_USB_UART
E: ID_MODEL_FROM_DATABASE=FT232 Serial (UART) IC
E: ID_VENDOR_ID=0403

P: /devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0
E: SUBSYSTEM=usb-serial
L: driver=../../../../../../bus/usb-serial/drivers/ftdi_sio

P: /devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0
E: SUBSYSTEM=usb
E: DEVTYPE=usb_interface
L: driver=../../../../../bus/usb/drivers/ftdi_sio
)";

// A second adapter whose model only the device itself reports (blanks as underscores).
constexpr char kCp2102Adapter[] =
    R"(P: /devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0/ttyUSB10/tty/ttyUSB10
N: ttyUSB10
E: DEVNAME=/dev/ttyUSB10
E: SUBSYSTEM=tty
E: ID_MODEL=CP2102_USB_to_UART_Bridge_Controller

P: /devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0/ttyUSB10
E: SUBSYSTEM=usb-serial
L: driver=../../../../../../bus/usb-serial/drivers/cp210x
)";

// An adapter without any model property: its driver's name stands for it.
constexpr char kPl2303Adapter[] =
    R"(P: /devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0/ttyUSB2/tty/ttyUSB2
N: ttyUSB2
E: DEVNAME=/dev/ttyUSB2
E: SUBSYSTEM=tty

P: /devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0/ttyUSB2
E: SUBSYSTEM=usb-serial
L: driver=../../../../../../bus/usb-serial/drivers/pl2303
)";

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

    void Add(const char* devices) {
        GError* error = nullptr;
        ASSERT_TRUE(umockdev_testbed_add_from_string(testbed_.get(), devices, &error))
            << (error != nullptr ? error->message : "");
    }

    std::unique_ptr<UMockdevTestbed, GObjectUnref> testbed_{umockdev_testbed_new()};
};

TEST_F(UdevEnumeration, LabelsNodesAndNaturalOrder) {
    for (const char* devices :
         {kFtdiAdapter, kCp2102Adapter, kPl2303Adapter, kCdcAcmBoard, kPhantomAndVirtual}) {
        Add(devices);
    }
    const auto ports = EnumerateSerialPorts();
    ASSERT_TRUE(ports);
    std::vector<std::u16string> labels;
    std::vector<std::u16string> devices;
    std::vector<std::u16string> numbers;
    for (const ports::SerialPort& port : *ports) {
        labels.push_back(port.label);
        devices.push_back(port.device);
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
} // namespace portmaven::qt
