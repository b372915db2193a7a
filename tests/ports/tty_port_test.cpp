// The name, label, number and order of a Unix system's serial ports.
#include "ports/tty_port.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace portmaven::ports {
namespace {

TEST(TtyPort, NameFromTheFirstSourceThatIsSet) {
    TtyNameSources sources{u"FT232 Serial (UART) IC", u"FT232R_USB_UART", u"ftdi_sio", u"ttyUSB0"};
    EXPECT_EQ(ChooseTtyPortName(sources), u"FT232 Serial (UART) IC");
    sources.modelFromDatabase = u""; // set but empty counts as missing
    EXPECT_EQ(ChooseTtyPortName(sources), u"FT232R USB UART");
    sources.model.reset();
    EXPECT_EQ(ChooseTtyPortName(sources), u"ftdi_sio");
    sources.driver.reset();
    EXPECT_EQ(ChooseTtyPortName(sources), u"ttyUSB0");
}

TEST(TtyPort, LabelDeviceAndNumber) {
    const SerialPort port =
        MakeTtyPort({std::nullopt, u"FT232R_USB_UART", u"ftdi_sio", u"ttyUSB10"}, u"/dev/ttyUSB10");
    EXPECT_EQ(port.label, u"FT232R USB UART (/dev/ttyUSB10)");
    EXPECT_EQ(port.name, u"/dev/ttyUSB10");
    EXPECT_EQ(port.number, u"10");
    EXPECT_EQ(MakeTtyPort({{}, {}, {}, u"console"}, u"/dev/console").number, u"");
    EXPECT_EQ(MakeTtyPort({{}, {}, {}, u"rfcomm0"}, u"/dev/rfcomm0").label,
              u"rfcomm0 (/dev/rfcomm0)");
}

TEST(TtyPort, NaturalOrderByDeviceName) {
    std::vector<SerialPort> ports;
    for (const char16_t* node : {u"/dev/ttyUSB10", u"/dev/ttyUSB2", u"/dev/ttyACM0", u"/dev/ttyS1",
                                 u"/dev/ttyUSB1", u"/dev/ttyAMA0", u"/dev/rfcomm0"}) {
        ports.push_back({node, u"", node});
    }
    SortTtyPorts(ports);
    std::vector<std::u16string> order;
    for (const SerialPort& port : ports) {
        order.push_back(port.name);
    }
    EXPECT_EQ(order, (std::vector<std::u16string>{u"/dev/rfcomm0", u"/dev/ttyACM0", u"/dev/ttyAMA0",
                                                  u"/dev/ttyS1", u"/dev/ttyUSB1", u"/dev/ttyUSB2",
                                                  u"/dev/ttyUSB10"}));
    // A strict order also for numbers that differ only in leading zeros or exceed any integer.
    EXPECT_TRUE(NaturalLess(u"tty01", u"tty1"));
    EXPECT_FALSE(NaturalLess(u"tty1", u"tty01"));
    EXPECT_FALSE(NaturalLess(u"tty1", u"tty1"));
    EXPECT_TRUE(NaturalLess(u"tty99999999999999999999", u"tty100000000000000000000"));
    EXPECT_TRUE(NaturalLess(u"tty", u"tty0"));
}

} // namespace
} // namespace portmaven::ports
