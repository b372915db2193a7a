// Why a port will not open, from the system's facts to the details line and the fix: the
// no-access rule, and a modem manager probing a fresh board. (Where the menu puts the fix:
// linux.tray.menu and the panel's e2e test.)
#include "access/modem_probe.h"
#include "access/port_access.h"
#include "tray/port_details.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace portmaven::access {
namespace {

using namespace std::chrono_literals;

const NodeAccessFacts kDeniedToOutsider{
    .denied = true, .group = u"uucp", .groupMayReadWrite = true, .user = u"ada"};

ports::SerialPort AcmPort(const ports::PortAccess& access = {}) {
    ports::SerialPort port{.name = u"/dev/ttyACM0", .number = u"0", .label = u"Pico (ttyACM0)"};
    port.device = {.vendorId = u"2e8a", .productId = u"000a"};
    port.access = access;
    return port;
}

TEST(PortAccessRule, AnOutsiderIsToldToJoinTheNodesGroupAndGetsTheCommandToCopy) {
    const ports::SerialPort port = AcmPort(AccessTroubleOf(kDeniedToOutsider));
    EXPECT_EQ(tray::PortDetailsText(port), u"2e8a:000a \u00b7 no access: not in group uucp");
    EXPECT_EQ(tray::FixCommandText(port), u"sudo usermod -aG uucp ada");
}

TEST(PortAccessRule, AMemberWhoseSessionIsOlderIsToldToLogInAgainWithoutAUselessFix) {
    NodeAccessFacts facts = kDeniedToOutsider;
    facts.memberInDatabase = true;
    const ports::SerialPort port = AcmPort(AccessTroubleOf(facts));
    EXPECT_EQ(tray::PortDetailsText(port),
              u"2e8a:000a \u00b7 no access: log out and in to join uucp");
    EXPECT_EQ(tray::FixCommandText(port), u"");
}

TEST(PortAccessRule, SaysNothingWhereJoiningTheGroupWouldNotHelp) {
    const auto with = [](auto change) {
        NodeAccessFacts facts = kDeniedToOutsider;
        change(facts);
        return AccessTroubleOf(facts);
    };
    const ports::PortAccess none{};
    EXPECT_EQ(with([](NodeAccessFacts& f) { f.denied = false; }), none);
    EXPECT_EQ(with([](NodeAccessFacts& f) { f.groupMayReadWrite = false; }), none); // owner's only
    EXPECT_EQ(with([](NodeAccessFacts& f) { f.superuserGroup = true; }), none);
    EXPECT_EQ(with([](NodeAccessFacts& f) { f.memberInSession = true; }), none);
    EXPECT_EQ(with([](NodeAccessFacts& f) { f.group.clear(); }), none);
    EXPECT_EQ(with([](NodeAccessFacts& f) { f.user.clear(); }), none);
    EXPECT_EQ(tray::PortDetailsText(AcmPort()), u"2e8a:000a");
}

TEST(ModemProbeRule, OnlyAFreshAcmPortNotIgnoredByUdevWhileTheServiceRunsIsNoted) {
    const ProbeClock::time_point start{};
    ModemProbeWatch watch;
    std::vector<ports::SerialPort> ports{AcmPort(), AcmPort(), AcmPort()};
    ports[1].name = u"/dev/ttyUSB0";
    ports[2].name = u"/dev/ttyACM1"; // there before the program looked: never noted
    watch.OnPortsArrived(std::span(ports).first(2), start);
    std::vector<std::u16string> asked;
    bool ignored = false;
    const auto udev = [&](const ports::SerialPort& port) {
        asked.push_back(port.name);
        return ignored;
    };
    const auto noted = [&](ProbeClock::time_point now) {
        watch.Note(ports, now, udev);
        return std::vector<bool>{ports[0].access.modemManagerMayProbe,
                                 ports[1].access.modemManagerMayProbe,
                                 ports[2].access.modemManagerMayProbe};
    };
    EXPECT_EQ(noted(start + 1s), (std::vector<bool>{false, false, false})); // no service
    EXPECT_TRUE(asked.empty());
    watch.SetServiceRunning(true);
    EXPECT_EQ(noted(start + 9s), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(tray::PortDetailsText(ports[0]), u"2e8a:000a \u00b7 may be probed by ModemManager");
    EXPECT_EQ(watch.NextExpiry(start + 9s), start + kModemProbeWindow);
    ignored = true;
    EXPECT_EQ(noted(start + 9s), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(asked, (std::vector<std::u16string>{u"/dev/ttyACM0", u"/dev/ttyACM0"}));
    ignored = false;
    EXPECT_EQ(noted(start + kModemProbeWindow), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(watch.NextExpiry(start + kModemProbeWindow), std::nullopt);
    // Plugged in again: a new window.
    watch.OnPortsArrived(std::span(ports).first(1), start + 60s);
    EXPECT_EQ(noted(start + 61s), (std::vector<bool>{true, false, false}));
}

} // namespace
} // namespace portmaven::access
