// The notice's title and text for a change of ports, and the tooltip naming the present ones.
#include "ports/port_notice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace portmaven::ports {
namespace {

std::vector<SerialPort> UsbPorts(int first, int count) {
    std::vector<SerialPort> ports;
    for (int number = first; number < first + count; ++number) {
        const std::string name = "COM" + std::to_string(number);
        std::u16string name16(name.begin(), name.end());
        ports.push_back({name16, name16.substr(3), u"USB Serial Port (" + name16 + u")"});
    }
    return ports;
}

TEST(MakePortNotice, TitleAndLinesFollowTheDirection) {
    EXPECT_FALSE(MakePortNotice({}));

    const std::vector<SerialPort> com5 = UsbPorts(5, 1);
    const std::vector<SerialPort> linux{{u"/dev/ttyUSB0", u"0", u"FT232R USB UART (/dev/ttyUSB0)"}};
    EXPECT_EQ(MakePortNotice({.added = com5, .removed = {}}),
              (PortNotice{u"Serial port connected", u"USB Serial Port (COM5)",
                          u"COM5 \u00B7 USB Serial Port"}));
    EXPECT_EQ(MakePortNotice({.added = {}, .removed = linux}),
              (PortNotice{u"Serial port removed", u"FT232R USB UART (/dev/ttyUSB0)",
                          u"/dev/ttyUSB0 \u00B7 FT232R USB UART"}));
    EXPECT_EQ(MakePortNotice({.added = com5, .removed = linux}),
              (PortNotice{u"Serial ports changed",
                          u"Connected: USB Serial Port (COM5)\n"
                          u"Removed: FT232R USB UART (/dev/ttyUSB0)",
                          u"Connected: COM5 \u00B7 USB Serial Port\n"
                          u"Removed: /dev/ttyUSB0 \u00B7 FT232R USB UART"}));
}

TEST(NamedPortLine, LeadsWithTheNameThenTheUsersNameOrTheDescription) {
    SerialPort port{u"/dev/ttyACM0", u"0", u"Pico (ttyACM0) (/dev/ttyACM0)"};
    // Only the label's own trailing name goes; a description naming the port keeps its words.
    EXPECT_EQ(NamedPortLine(port), u"/dev/ttyACM0 \u00B7 Pico (ttyACM0)");
    port.userName = u"Bench probe";
    EXPECT_EQ(NamedPortLine(port), u"/dev/ttyACM0 \u00B7 Bench probe");
    // No description, or a label that is not the port's: nothing is cut or invented.
    EXPECT_EQ(NamedPortLine({u"COM7", u"7", u" (COM7)"}), u"COM7");
    EXPECT_EQ(NamedPortLine({u"COM7", u"7", u"Odd label"}), u"COM7 \u00B7 Odd label");
}

TEST(MakePortNotice, ListsFivePortsAndCountsTheRest) {
    const std::u16string firstFive = u"USB Serial Port (COM1)\nUSB Serial Port (COM2)\n"
                                     u"USB Serial Port (COM3)\nUSB Serial Port (COM4)\n"
                                     u"USB Serial Port (COM5)";
    EXPECT_EQ(MakePortNotice({.added = UsbPorts(1, 5), .removed = {}})->text, firstFive);
    EXPECT_EQ(MakePortNotice({.added = UsbPorts(1, 6), .removed = {}})->text,
              firstFive + u"\nand 1 more");
    EXPECT_EQ(MakePortNotice({.added = {}, .removed = UsbPorts(1, 17)})->text,
              firstFive + u"\nand 12 more");

    // Both directions share the five lines: the ports that came first.
    const auto mixed = MakePortNotice({.added = UsbPorts(1, 4), .removed = UsbPorts(20, 3)});
    EXPECT_EQ(mixed->text, u"Connected: USB Serial Port (COM1)\nConnected: USB Serial Port (COM2)\n"
                           u"Connected: USB Serial Port (COM3)\nConnected: USB Serial Port (COM4)\n"
                           u"Removed: USB Serial Port (COM20)\nand 2 more");
}

TEST(MakePortTooltip, NamesTheSerialPortsInOrder) {
    EXPECT_EQ(MakePortTooltip({}), u"Portmaven");
    EXPECT_EQ(MakePortTooltip(UsbPorts(3, 1)), u"Portmaven: COM3");
    const std::vector<SerialPort> ports{{u"COM5", u"5", u"A (COM5)"}, {u"COM3", u"3", u"B (COM3)"}};
    EXPECT_EQ(MakePortTooltip(ports), u"Portmaven: COM5, COM3");
}

} // namespace
} // namespace portmaven::ports
