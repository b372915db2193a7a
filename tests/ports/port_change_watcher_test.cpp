// The watcher driven as a front-end drives it: change signals, a timer on a fake clock,
// enumerations that return whatever the test puts in front of them, and the user's settings.
#include "ports/port_change_watcher.h"

#include "ports/device_settings.h"
#include "support/fake_port_watch_platform.h"
#include "support/memory_device_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace portmaven::ports {
namespace {

using namespace std::chrono_literals;
using Ports = std::vector<SerialPort>;

const SerialPort kCom3{u"COM3", u"3", u"USB Serial Port (COM3)"};
const SerialPort kCom5{u"COM5", u"5", u"USB Serial Port (COM5)"};

class PortChangeWatcherTest : public ::testing::Test {
protected:
    explicit PortChangeWatcherTest(NoticeBufferSizes sizes = {}) : watcher(platform, sizes) {
        platform.Attach(watcher);
    }

    void Seed(Ports ports) {
        platform.WillEnumerate(std::move(ports));
        watcher.Seed();
    }
    void Burst(int signals, std::optional<Ports> result) {
        platform.Burst(std::move(result), signals);
    }

    test::MemoryDeviceStore settings;
    test::FakePortWatchPlatform platform{settings};
    PortChangeWatcher watcher;
};

TEST_F(PortChangeWatcherTest, OneBurstGivesOneEnumerationAndLeavesNoTimerBehind) {
    Seed({kCom3});
    EXPECT_EQ(platform.tooltips, std::vector<std::u16string>{u"Portmaven: COM3"});
    EXPECT_TRUE(platform.notices.empty());
    EXPECT_EQ(platform.timerStarts, 0);

    Burst(50, Ports{kCom3, kCom5});
    EXPECT_EQ(platform.timerStarts, 50);
    EXPECT_EQ(platform.enumerations, 2);
    ASSERT_EQ(platform.notices.size(), 1u);
    EXPECT_EQ(platform.notices[0].title, u"Serial port connected");
    EXPECT_EQ(platform.notices[0].text, u"USB Serial Port (COM5)");
    EXPECT_EQ(platform.tooltips.back(), u"Portmaven: COM3, COM5");

    EXPECT_FALSE(platform.TimerScheduled());
    platform.Advance(10s);
    EXPECT_EQ(platform.enumerations, 2);
    // A tick that was queued before the timer stopped enumerates nothing.
    watcher.OnTimer();
    EXPECT_EQ(platform.enumerations, 2);
}

TEST_F(PortChangeWatcherTest, OrderChangesAndALeaveAndReturnRaiseNoNotice) {
    Seed({kCom3, kCom5});
    // COM5 went and came back within the burst; the system now lists it first.
    Burst(4, Ports{kCom5, kCom3});
    EXPECT_TRUE(platform.notices.empty());
    EXPECT_EQ(platform.tooltips.back(), u"Portmaven: COM5, COM3");

    Burst(2, Ports{});
    ASSERT_EQ(platform.notices.size(), 1u);
    EXPECT_EQ(platform.notices[0].title, u"Serial port removed");
    EXPECT_EQ(platform.notices[0].text, u"USB Serial Port (COM5)\nUSB Serial Port (COM3)");
    EXPECT_EQ(platform.tooltips.back(), u"Portmaven");
}

TEST_F(PortChangeWatcherTest, AFailedEnumerationKeepsTheLastSet) {
    Seed({kCom3});
    Burst(3, std::nullopt);
    EXPECT_TRUE(platform.notices.empty());
    EXPECT_EQ(platform.tooltips.size(), 1u);
    EXPECT_EQ(watcher.Ports().size(), 1u);

    // The next burst compares with the set from before the failure: COM3 did not come back.
    const SerialPort otherCom3{u"COM3", u"3", u"Prolific USB-to-Serial (COM3)"};
    Burst(1, Ports{otherCom3, kCom5});
    ASSERT_EQ(platform.notices.size(), 1u);
    EXPECT_EQ(platform.notices[0].title, u"Serial ports changed");
    EXPECT_EQ(platform.notices[0].text, u"Connected: Prolific USB-to-Serial (COM3)\n"
                                        u"Connected: USB Serial Port (COM5)\n"
                                        u"Removed: USB Serial Port (COM3)");
}

TEST_F(PortChangeWatcherTest, AFailedSeedIsMadeGoodSilentlyByTheNextEnumeration) {
    platform.WillEnumerate(std::nullopt);
    watcher.Seed();
    EXPECT_TRUE(platform.tooltips.empty());

    // Ports present from the start must not be announced as new.
    Burst(1, Ports{kCom3});
    EXPECT_TRUE(platform.notices.empty());
    EXPECT_EQ(platform.tooltips.back(), u"Portmaven: COM3");
    Burst(1, Ports{kCom3, kCom5});
    ASSERT_EQ(platform.notices.size(), 1u);
    EXPECT_EQ(platform.notices[0].text, u"USB Serial Port (COM5)");
}

TEST_F(PortChangeWatcherTest, APortGoesAsTheUserSeesItNowNotAsItWasWhenItCame) {
    Seed({kCom3, kCom5});
    // Hidden after it was listed, then unplugged: it goes without a word.
    SerialPort com3 = kCom3;
    ASSERT_TRUE(SetPortHidden(settings, com3, true));
    Burst(1, Ports{kCom5});
    EXPECT_TRUE(platform.notices.empty());
    EXPECT_EQ(platform.tooltips.back(), u"Portmaven: COM5");

    // Renamed after it was listed, then unplugged: the notice names it as the menu does now.
    SerialPort com5 = kCom5;
    ASSERT_TRUE(SetPortName(settings, com5, u"Pico probe"));
    Burst(1, Ports{});
    ASSERT_EQ(platform.notices.size(), 1u);
    EXPECT_EQ(platform.notices[0].title, u"Serial port removed");
    EXPECT_EQ(platform.notices[0].text, u"Pico probe (COM5)");

    // Back while hidden, shown again, then unplugged: its leave is told.
    Burst(1, Ports{kCom3});
    ASSERT_TRUE(SetPortHidden(settings, com3, false));
    Burst(1, Ports{});
    ASSERT_EQ(platform.notices.size(), 2u);
    EXPECT_EQ(platform.notices[1].text, u"USB Serial Port (COM3)");
}

TEST_F(PortChangeWatcherTest, DisabledNoticesStillUpdateTheTooltip) {
    Seed({});
    watcher.SetNotificationsEnabled(false);
    Burst(1, Ports{kCom3});
    EXPECT_TRUE(platform.notices.empty());
    EXPECT_EQ(platform.tooltips.back(), u"Portmaven: COM3");

    // Turning them back on announces what changes from then on, not what was missed.
    watcher.SetNotificationsEnabled(true);
    Burst(1, Ports{kCom3, kCom5});
    ASSERT_EQ(platform.notices.size(), 1u);
    EXPECT_EQ(platform.notices[0].text, u"USB Serial Port (COM5)");
}

// The sizes of the Windows tray icon's title, text and tooltip fields.
class PortChangeWatcherInFixedBuffersTest : public PortChangeWatcherTest {
protected:
    PortChangeWatcherInFixedBuffersTest() : PortChangeWatcherTest({64, 256, 128}) {}
};

TEST_F(PortChangeWatcherInFixedBuffersTest, CutsTheNoticeAndTooltipToFit) {
    Seed({});
    Ports many;
    for (int number = 100; number < 140; ++number) {
        const std::string name = "COM" + std::to_string(number);
        const std::u16string name16(name.begin(), name.end());
        many.push_back({name16, name16.substr(3),
                        u"A device whose driver describes it at great length (" + name16 + u")"});
    }
    Burst(1, many);
    ASSERT_EQ(platform.notices.size(), 1u);
    EXPECT_EQ(platform.notices[0].title, u"Serial port connected");
    EXPECT_EQ(platform.notices[0].text.size(), 255u);
    EXPECT_EQ(platform.notices[0].text.back(), u'\u2026');
    EXPECT_EQ(platform.tooltips.back().size(), 127u);
    EXPECT_TRUE(platform.tooltips.back().starts_with(u"Portmaven: COM100, COM101, "));
    EXPECT_EQ(platform.tooltips.back().back(), u'\u2026');
}

} // namespace
} // namespace portmaven::ports
