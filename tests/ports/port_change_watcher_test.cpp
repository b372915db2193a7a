// The watcher driven as a front-end drives it: change signals, a timer on a fake clock and
// enumerations that return whatever the test puts in front of them.
#include "ports/port_change_watcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace portmaven::ports {
namespace {

using namespace std::chrono_literals;
using Ports = std::vector<SerialPort>;

const SerialPort kCom3{u"COM3", u"3", u"USB Serial Port (COM3)"};
const SerialPort kCom5{u"COM5", u"5", u"USB Serial Port (COM5)"};

// A platform whose timer repeats until it is cancelled, as a window timer does, so that a
// watcher that forgot to stop it would be seen ticking on.
class FakePlatform final : public PortWatchPlatform {
public:
    void Attach(PortChangeWatcher& watcher) { m_watcher = &watcher; }

    // The next enumerations' results, in order; nullopt for one that fails.
    void WillEnumerate(std::optional<Ports> ports) { m_results.push_back(std::move(ports)); }

    // Lets time pass, delivering each tick that falls due.
    void Advance(std::chrono::milliseconds span) {
        const std::chrono::milliseconds end = m_now + span;
        while (m_deadline && *m_deadline <= end) {
            m_now = *m_deadline;
            m_deadline = m_now + m_interval;
            m_watcher->OnTimer();
        }
        m_now = end;
    }

    void StartOneShot(std::chrono::milliseconds delay) override {
        ++timerStarts;
        m_interval = delay;
        m_deadline = m_now + delay;
    }
    void CancelTimer() override { m_deadline.reset(); }
    std::optional<Ports> Enumerate() override {
        ++enumerations;
        EXPECT_FALSE(m_results.empty()) << "an enumeration the test did not expect";
        if (m_results.empty()) {
            return std::nullopt;
        }
        // Swapped out rather than moved from: g++ -O2 misreads the moved-from optional as
        // possibly uninitialised.
        std::optional<Ports> result;
        result.swap(m_results.front());
        m_results.pop_front();
        return result;
    }
    void ShowNotice(const PortNotice& notice) override { notices.push_back(notice); }
    void SetTooltip(std::u16string_view tip) override { tooltips.emplace_back(tip); }

    [[nodiscard]] bool TimerScheduled() const { return m_deadline.has_value(); }

    int timerStarts = 0;
    int enumerations = 0;
    std::vector<PortNotice> notices;
    std::vector<std::u16string> tooltips;

private:
    PortChangeWatcher* m_watcher = nullptr;
    std::deque<std::optional<Ports>> m_results;
    std::chrono::milliseconds m_now{0};
    std::chrono::milliseconds m_interval{0};
    std::optional<std::chrono::milliseconds> m_deadline;
};

class PortChangeWatcherTest : public ::testing::Test {
protected:
    explicit PortChangeWatcherTest(NoticeBufferSizes sizes = {}) : watcher(platform, sizes) {
        platform.Attach(watcher);
    }

    void Seed(Ports ports) {
        platform.WillEnumerate(std::move(ports));
        watcher.Seed();
    }

    // Signals spread over less than one debounce each, then the quiet that lets it elapse.
    void Burst(int signals, std::optional<Ports> result) {
        platform.WillEnumerate(std::move(result));
        for (int i = 0; i < signals; ++i) {
            watcher.OnChangeSignal();
            platform.Advance(kPortChangeDebounce - 1ms);
        }
        platform.Advance(1ms);
    }

    FakePlatform platform;
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
