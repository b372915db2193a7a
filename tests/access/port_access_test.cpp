// Why a port will not open, from the system's facts to what the menu shows: the no-access
// rule, the fix offered under the details line, and a modem manager probing a fresh board.
#include "access/modem_probe.h"
#include "access/port_access.h"
#include "tray/menu_ids.h"
#include "tray/port_details.h"
#include "tray/tray_menu_model.h"

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

// The port's own entries after its commands, as "id:text".
std::vector<std::u16string> OwnEntries(const ports::SerialPort& port) {
    const std::vector<ports::SerialPort> ports{port};
    const tray::TrayMenuModel model =
        tray::BuildTrayMenuModel(ports, config::CommandList{}, tray::kLinuxLayout);
    std::vector<std::u16string> entries;
    for (const tray::MenuEntry& entry : model.entries.front().children) {
        if (entry.kind == tray::MenuEntry::Kind::Item) {
            entries.push_back(std::u16string(1, static_cast<char16_t>(u'0' + entry.id - 110)) +
                              (entry.greyed ? u"~" : u":") + entry.text);
        }
    }
    return entries;
}

TEST(PortAccessRule, AnOutsiderIsToldToJoinTheNodesGroupAndGetsTheCommandToCopy) {
    const ports::SerialPort port = AcmPort(AccessTroubleOf(kDeniedToOutsider));
    EXPECT_EQ(tray::PortDetailsText(port), u"2e8a:000a \u00b7 no access: not in group uucp");
    EXPECT_EQ(tray::FixCommandText(port), u"sudo usermod -aG uucp ada");
    // The fix sits under the details line, greyed; Copy Port Name keeps its place and the
    // command's copy follows it.
    EXPECT_EQ(OwnEntries(port), (std::vector<std::u16string>{
                                    u"0~2e8a:000a \u00b7 no access: not in group uucp",
                                    u"4~To fix: sudo usermod -aG uucp ada",
                                    u"1:Copy Port Name",
                                    u"5:Copy Fix Command",
                                    u"2:Port Settings\u2026",
                                    u"3:Hide Port",
                                }));
    const std::vector<ports::SerialPort> ports{port};
    const tray::TrayMenuModel model =
        tray::BuildTrayMenuModel(ports, config::CommandList{}, tray::kLinuxLayout);
    EXPECT_EQ(model.entries.front().children[4].action, tray::MenuAction::CopyFixCommand);
    EXPECT_EQ(model.entries.front().children[4].id, tray::kCopyFixCommandId);
}

TEST(PortAccessRule, AMemberWhoseSessionIsOlderIsToldToLogInAgainWithoutAUselessFix) {
    NodeAccessFacts facts = kDeniedToOutsider;
    facts.memberInDatabase = true;
    const ports::SerialPort port = AcmPort(AccessTroubleOf(facts));
    EXPECT_EQ(tray::PortDetailsText(port),
              u"2e8a:000a \u00b7 no access: log out and in to join uucp");
    EXPECT_EQ(tray::FixCommandText(port), u"");
    EXPECT_EQ(OwnEntries(port).size(), 4u);
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
