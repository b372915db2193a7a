// Who holds a port open on the Linux desktop, found in /proc without opening the port: a child
// holds a mocked tty open, and the port's details line names it. Runs under umockdev's preload.
#include "access/linux/port_users.h"
#include "ports/linux/serial_port_enum.h"
#include "tray/port_details.h"

#include "support/linux/umockdev_testbed.h"
#include "support/linux/wait.h"

#include <gtest/gtest.h>

#include <QString>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace portmaven::linux_desktop {
namespace {

const test::UsbSerialAdapter kFtdiBoard{.tty = "ttyUSB0",
                                        .busPort = "1-1",
                                        .properties = {{"ID_VENDOR_ID", "0403"},
                                                       {"ID_MODEL_ID", "6001"},
                                                       {"ID_SERIAL_SHORT", "A50285BI"},
                                                       {"ID_VENDOR", "FTDI"}},
                                        .driver = "ftdi_sio"};

TEST(PortUsersUdev, ChildHoldingTheTtyIsNamedInItsPortsDetailsLine) {
    test::UmockdevTestbed testbed;
    ASSERT_TRUE(umockdev_in_mock_environment())
        << "run this test through umockdev-wrapper, which preloads the udev mock";
    std::string error;
    ASSERT_TRUE(testbed.Add(test::RecordOf(kFtdiBoard), error)) << error;
    EXPECT_EQ(PortUsersText(u"/dev/ttyUSB0"), u"");

    // A terminal program holds the port: a child opens it and becomes "sleep".
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::open("/dev/ttyUSB0", O_RDWR | O_NOCTTY | O_NONBLOCK) >= 0) {
            ::execlp("sleep", "sleep", "60", static_cast<char*>(nullptr));
        }
        ::_exit(127);
    }
    const std::u16string holder = u"sleep (" + QString::number(child).toStdU16String() + u")";
    EXPECT_TRUE(test::WaitFor([&] { return PortUsersText(u"/dev/ttyUSB0") == holder; }))
        << QString::fromStdU16String(PortUsersText(u"/dev/ttyUSB0")).toStdString();
    EXPECT_EQ(PortUsersText(u"/dev/ttyUSB3"), u"");

    std::optional<std::vector<ports::SerialPort>> ports = EnumerateSerialPorts();
    ASSERT_TRUE(ports);
    ASSERT_EQ(ports->size(), 1u);
    NoteWhoHoldsPorts(*ports);
    EXPECT_EQ(tray::PortDetailsText(ports->front()),
              u"0403:6001 \u00b7 FTDI \u00b7 SN A50285BI \u00b7 in use by " + holder);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

} // namespace
} // namespace portmaven::linux_desktop
