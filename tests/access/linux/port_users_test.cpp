// Who holds a port open on the Linux desktop, found in /proc without opening the port or
// following its descriptors: a child holds a mocked tty open and the port's details line names
// it once the worker's answer reached the GUI thread; a /proc whose entries cannot be read, or a
// look out of time, still ends. Runs under umockdev's preload.
#include "access/linux/holder_scan_worker.h"
#include "access/linux/port_users.h"
#include "ports/linux/serial_port_enum.h"
#include "tray/port_details.h"

#include "support/linux/umockdev_testbed.h"
#include "support/linux/wait.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QString>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace portmaven::linux_desktop {
namespace {

using namespace std::chrono_literals;

const test::UsbSerialAdapter kFtdiBoard{.tty = "ttyUSB0",
                                        .busPort = "1-1",
                                        .properties = {{"ID_VENDOR_ID", "0403"},
                                                       {"ID_MODEL_ID", "6001"},
                                                       {"ID_SERIAL_SHORT", "A50285BI"},
                                                       {"ID_VENDOR", "FTDI"}},
                                        .driver = "ftdi_sio"};

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "port_users_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

TEST(PortUsersUdev, ChildHoldingTheTtyIsNamedInItsPortsDetailsLineOnceTheLookEnds) {
    App();
    test::UmockdevTestbed testbed;
    ASSERT_TRUE(umockdev_in_mock_environment())
        << "run this test through umockdev-wrapper, which preloads the udev mock";
    std::string error;
    ASSERT_TRUE(testbed.Add(test::RecordOf(kFtdiBoard), error)) << error;
    std::optional<std::vector<ports::SerialPort>> ports = EnumerateSerialPorts();
    ASSERT_TRUE(ports);
    ASSERT_EQ(ports->size(), 1u);
    // A port no one holds goes along in the same look.
    ports->push_back({u"/dev/ttyUSB3", u"3", u"ttyUSB3"});

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

    std::vector<access::HolderScanAnswer> answers;
    HolderScanWorker worker(
        [&](const access::HolderScanAnswer& answer) { answers.push_back(answer); }, 10s);
    access::HolderLookup lookup(worker, 10s);
    // The child may not have opened the port, or become "sleep", at the first look: each look
    // that ends without naming it is followed by another.
    ASSERT_TRUE(test::WaitFor([&] {
        if (answers.empty()) {
            lookup.Refresh(*ports, access::ScanClock::now());
            return false;
        }
        EXPECT_TRUE(answers.back().complete);
        lookup.OnAnswer(answers.back(), access::ScanClock::now());
        answers.clear();
        lookup.Note(*ports);
        return ports->front().usedBy == holder;
    })) << QString::fromStdU16String(ports->front().usedBy).toStdString();
    EXPECT_EQ(tray::PortDetailsText(ports->front()),
              u"0403:6001 \u00b7 FTDI \u00b7 SN A50285BI \u00b7 in use by " + holder);
    EXPECT_EQ(ports->back().usedBy, u"");
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

// A /proc of processes as the look meets them: readable, gone, another user's, odd.
class FakeProc : public ::testing::Test {
protected:
    void Process(const std::string& pid, const std::string& comm) {
        std::filesystem::create_directories(root_ / pid);
        std::ofstream(root_ / pid / "comm") << comm << "\n";
    }
    void Descriptor(const std::string& pid, const std::string& fd, const std::string& target) {
        std::filesystem::create_directories(root_ / pid / "fd");
        std::filesystem::create_symlink(target, root_ / pid / "fd" / fd);
    }

    config::testing::TempDir dir_;
    std::filesystem::path root_ = dir_.Path() / "proc";
};

TEST_F(FakeProc, UnreadableProcessesArePassedByAndALookOutOfTimeProvesNothing) {
    const std::vector<std::u16string> ports = {u"/dev/ttyFAKE0", u"/dev/ttyFAKE1"};
    Process("100", "picocom");
    Descriptor("100", "0", "/dev/pts/7");
    Descriptor("100", "3", "/dev/ttyFAKE0");
    // Its descriptors cannot be listed (another user's, as the kernel shows them to us).
    Process("200", "minicom");
    std::ofstream(root_ / "200" / "fd") << "not a folder";
    // Gone between the listing and the look: nothing left of it.
    std::filesystem::create_directories(root_ / "300");
    // A descriptor that is no link, beside links to both ports.
    Process("400", "screen");
    std::filesystem::create_directories(root_ / "400" / "fd");
    std::ofstream(root_ / "400" / "fd" / "0") << "";
    Descriptor("400", "5", "/dev/ttyFAKE1");
    Descriptor("400", "6", "/dev/ttyFAKE0");
    std::filesystem::create_directories(root_ / "self" / "fd");
    std::filesystem::create_directories(root_ / "sys");

    const access::HolderScanAnswer answer =
        ScanPortHolders(7, ports, access::ScanClock::now() + 10s, root_);
    EXPECT_EQ(answer.scan, 7u);
    EXPECT_TRUE(answer.complete);
    ASSERT_EQ(answer.holders.size(), 2u);
    std::vector<access::PortHolder> fake0 = answer.holders.at(u"/dev/ttyFAKE0");
    std::sort(fake0.begin(), fake0.end(),
              [](const auto& a, const auto& b) { return a.processId < b.processId; });
    EXPECT_EQ(access::HoldersText(fake0), u"picocom (100), screen (400)");
    EXPECT_EQ(access::HoldersText(answer.holders.at(u"/dev/ttyFAKE1")), u"screen (400)");

    const access::HolderScanAnswer late =
        ScanPortHolders(8, ports, access::ScanClock::now() - 1ms, root_);
    EXPECT_FALSE(late.complete);
    EXPECT_TRUE(late.holders.empty());

    const access::HolderScanAnswer noProc =
        ScanPortHolders(9, ports, access::ScanClock::now() + 10s, root_ / "missing");
    EXPECT_FALSE(noProc.complete);
}

} // namespace
} // namespace portmaven::linux_desktop
