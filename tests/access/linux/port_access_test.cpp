// Why a port will not open, asked of a mocked udev and /dev: the no-access check run as a user
// outside the node's group, and udev's mark that keeps a modem manager off a device. Runs under
// umockdev's preload.
#include "access/linux/port_access_notes.h"
#include "ports/linux/serial_port_enum.h"
#include "tray/port_details.h"

#include "support/linux/umockdev_testbed.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace portmaven::linux_desktop {
namespace {

const test::UsbSerialAdapter kPico{
    .tty = "ttyACM0",
    .busPort = "1-2",
    .properties = {{"ID_VENDOR_ID", "2e8a"}, {"ID_MODEL_ID", "000a"}},
    .driver = "cdc_acm"};

// What the probe prints when run as nobody with the given groups.
std::string ProbeAsNobody(const QStringList& groups) {
    QProcess probe;
    probe.start(QStringLiteral("setpriv"),
                QStringList{QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup")} +
                    groups + QStringList{QStringLiteral(PORTMAVEN_NODE_ACCESS_PROBE)});
    if (!probe.waitForFinished(60'000) || probe.exitCode() != 0) {
        return "failed: " + probe.readAllStandardError().toStdString();
    }
    return probe.readAllStandardOutput().toStdString();
}

TEST(NodeAccessUdev, AUserOutsideTheNodesGroupIsToldToJoinItAndAMemberIsToldNothing) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give the node to a group and run the check as another user";
    }
    test::UmockdevTestbed testbed;
    ASSERT_TRUE(umockdev_in_mock_environment()) << "run this test through umockdev-wrapper";
    std::string error;
    ASSERT_TRUE(testbed.Add(test::RecordOf(kPico), error)) << error;
    const struct group* dialout = ::getgrnam("dialout");
    ASSERT_NE(dialout, nullptr);
    // The node as a distribution's udev rules leave it; the testbed's folder open to all, as
    // /dev is.
    const std::string root = testbed.RootDir();
    ASSERT_EQ(::chmod(root.c_str(), 0755), 0);
    const std::string node = root + "/dev/ttyACM0";
    ASSERT_EQ(::chown(node.c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(::chmod(node.c_str(), 0660), 0);

    std::optional<std::vector<ports::SerialPort>> ports = EnumerateSerialPorts();
    ASSERT_TRUE(ports && ports->size() == 1);
    const std::string details =
        QString::fromStdU16String(tray::PortDetailsText(ports->front())).toStdString();

    EXPECT_EQ(ProbeAsNobody({QStringLiteral("--clear-groups")}),
              details + " \u00b7 no access: not in group dialout\n" +
                  "sudo usermod -aG dialout nobody\n");
    EXPECT_EQ(ProbeAsNobody({QStringLiteral("--groups=dialout")}), details + "\n\n");
}

TEST(ModemManagerMarkUdev, OnlyADeviceMarkedForIgnoringIsLeftAlone) {
    test::UmockdevTestbed testbed;
    std::string error;
    ASSERT_TRUE(testbed.Add(test::RecordOf(kPico), error)) << error;
    test::UsbSerialAdapter ignored = kPico;
    ignored.tty = "ttyACM1";
    ignored.busPort = "1-3";
    ignored.properties.emplace_back("ID_MM_DEVICE_IGNORE", "1");
    ASSERT_TRUE(testbed.Add(test::RecordOf(ignored), error)) << error;

    EXPECT_FALSE(UdevTellsModemManagerToIgnore(u"/dev/ttyACM0"));
    EXPECT_TRUE(UdevTellsModemManagerToIgnore(u"/dev/ttyACM1"));
    EXPECT_FALSE(UdevTellsModemManagerToIgnore(u"/dev/ttyACM7"));
}

} // namespace
} // namespace portmaven::linux_desktop
