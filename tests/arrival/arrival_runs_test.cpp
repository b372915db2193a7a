// What a board's arrival starts, driven through the port watcher as the front-ends drive it:
// enumerations that the test sets up, a starter that records what it was asked to start and
// hands back programs that run until the test ends them.
#include "arrival/arrival_runs.h"
#include "arrival/notice_click.h"
#include "ports/device_identity.h"
#include "ports/port_change_watcher.h"
#include "support/fake_port_watch.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace portmaven::arrival {
namespace {

using ports::SerialPort;

// A program that runs until the test ends it.
class FakeProcess final : public launch::StartedProcess {
public:
    explicit FakeProcess(std::shared_ptr<bool> running) : running_(std::move(running)) {}
    bool IsRunning() override { return *running_; }

private:
    std::shared_ptr<bool> running_;
};

// A USB board set to run `command` on arrival (or not).
SerialPort Board(std::u16string_view name, std::u16string_view serial,
                 std::u16string_view command = u"Terminal", bool runOnArrival = true) {
    SerialPort port{.name = std::u16string(name),
                    .number = u"0",
                    .label = u"Board (" + std::u16string(name) + u")"};
    port.device = {.vendorId = u"2e8a", .productId = u"000c", .serial = std::u16string(serial)};
    port.launch = {
        .baud = 9600, .defaultCommand = std::u16string(command), .runOnArrival = runOnArrival};
    return port;
}

class ArrivalRunsTest : public ::testing::Test {
protected:
    void SetUp() override {
        commands_.AppendCommand(config::MakeCommandRecord(u"Flash", u"flash %PORT%"));
        commands_.AppendCommand(config::MakeCommandRecord(u"Terminal", u"term -b %BAUD% %PORT%"));
        platform_.onArrival = [this](std::span<const SerialPort> added) {
            return runs_.OnPortsArrived(
                added, commands_, [this](std::u16string_view line, const SerialPort& port) {
                    started_.push_back(std::u16string(line) + u" @ " + port.name);
                    launch::LaunchResult result{.started = startable_};
                    if (startable_ && followable_) {
                        running_.push_back(std::make_shared<bool>(true));
                        result.process = std::make_unique<FakeProcess>(running_.back());
                    }
                    return result;
                });
        };
    }

    // The ports present from now on, seen as one burst.
    void Present(std::vector<SerialPort> ports) {
        platform_.next = std::move(ports);
        watcher_.OnChangeSignal();
        watcher_.OnTimer();
    }

    config::CommandList commands_;
    ports::testing::FakePortWatch platform_;
    ports::PortChangeWatcher watcher_{platform_};
    ArrivalRuns runs_;
    std::vector<std::u16string> started_;
    std::vector<std::shared_ptr<bool>> running_;
    bool startable_ = true;
    bool followable_ = true;
};

TEST_F(ArrivalRunsTest, NotAtStartNorForHiddenPortsAndEachPortOfABurstOnce) {
    platform_.next = std::vector{Board(u"COM3", u"A")};
    watcher_.Seed();
    EXPECT_TRUE(started_.empty()) << "a board present at start started its command";

    SerialPort hidden = Board(u"COM4", u"B");
    hidden.hidden = true;
    // Two ports of one dual adapter come together; a port listed twice counts once.
    Present({Board(u"COM3", u"A"), hidden, Board(u"COM5", u"C"), Board(u"COM6", u"C"),
             Board(u"COM6", u"C"), Board(u"COM7", u"D", u"Flash", false),
             Board(u"COM8", u"E", u"Deleted command"), Board(u"COM9", u"F", u"")});
    EXPECT_EQ(started_, (std::vector<std::u16string>{u"term -b %BAUD% %PORT% @ COM5",
                                                     u"term -b %BAUD% %PORT% @ COM6"}));
    // A command that no longer exists is no command: nothing to say about it either.
    ASSERT_EQ(platform_.notices.size(), 1u);
    EXPECT_EQ(platform_.notices.back().title, u"Serial port connected");
}

TEST_F(ArrivalRunsTest, NotAgainWhileWhatItsLastArrivalStartedRuns) {
    platform_.next = std::vector<SerialPort>{};
    watcher_.Seed();
    Present({Board(u"COM3", u"A")});
    ASSERT_EQ(started_.size(), 1u);

    // The board resets while its terminal is open and comes back under another number.
    Present({});
    Present({Board(u"COM4", u"A")});
    EXPECT_EQ(started_.size(), 1u) << "a second terminal beside the first";
    // Another board of the same kind is another device.
    Present({Board(u"COM4", u"A"), Board(u"COM5", u"B")});
    EXPECT_EQ(started_.size(), 2u);

    *running_.front() = false;
    Present({Board(u"COM5", u"B")});
    Present({Board(u"COM5", u"B"), Board(u"COM3", u"A")});
    ASSERT_EQ(started_.size(), 3u);
    EXPECT_EQ(started_.back(), u"term -b %BAUD% %PORT% @ COM3");

    // A program the platform cannot follow does not hold back the next arrival.
    followable_ = false;
    *running_.back() = false;
    Present({Board(u"COM5", u"B")});
    Present({Board(u"COM5", u"B"), Board(u"COM3", u"A")});
    Present({Board(u"COM5", u"B")});
    Present({Board(u"COM5", u"B"), Board(u"COM3", u"A")});
    EXPECT_EQ(started_.size(), 5u);
}

TEST_F(ArrivalRunsTest, ACommandThatCannotStartIsToldAfterTheArrivalEvenWithNoticesOff) {
    platform_.next = std::vector<SerialPort>{};
    watcher_.Seed();
    startable_ = false;
    Present({Board(u"COM3", u"A")});
    ASSERT_EQ(platform_.notices.size(), 2u);
    EXPECT_EQ(platform_.notices[0].title, u"Serial port connected");
    EXPECT_EQ(platform_.notices[1].title, u"Invalid command to execute");
    EXPECT_EQ(platform_.notices[1].text, u"Board (COM3)");
    // A click on it is about no arrival: it runs nothing.
    EXPECT_FALSE(NoticeClickChoice(watcher_.LastNotice(), watcher_.Ports(), commands_).port);

    watcher_.SetNotificationsEnabled(false);
    Present({});
    Present({Board(u"COM3", u"A")});
    ASSERT_EQ(platform_.notices.size(), 3u);
    EXPECT_EQ(platform_.notices[2].title, u"Invalid command to execute");
}

TEST_F(ArrivalRunsTest, AClickOnTheNoticeRunsTheDefaultCommandOfThatBoardWhileItIsThere) {
    platform_.next = std::vector<SerialPort>{Board(u"COM1", u"Z", u"")};
    watcher_.Seed();
    // Not set to run on arrival: the click is the way to run it.
    Present({Board(u"COM1", u"Z", u""), Board(u"COM3", u"A", u"Terminal", false)});
    tray::CommandChoice choice =
        NoticeClickChoice(watcher_.LastNotice(), watcher_.Ports(), commands_);
    EXPECT_EQ(choice.port, 1u);
    EXPECT_EQ(choice.command, 1);

    // What the user set since counts; a board without a default command names none.
    std::vector<SerialPort> now{Board(u"COM1", u"Z", u""), Board(u"COM3", u"A", u"Flash", false)};
    EXPECT_EQ(NoticeClickChoice(watcher_.LastNotice(), now, commands_).command, 0);
    now[1].launch.defaultCommand.clear();
    EXPECT_EQ(NoticeClickChoice(watcher_.LastNotice(), now, commands_).command, -1);

    // Long after, the board has gone, or another took its number: nothing to run it on.
    EXPECT_FALSE(NoticeClickChoice(watcher_.LastNotice(), {}, commands_).port);
    EXPECT_FALSE(
        NoticeClickChoice(watcher_.LastNotice(), std::vector{Board(u"COM3", u"Q")}, commands_)
            .port);

    // A notice about more than one port, or a removal, is about no one board.
    Present({Board(u"COM1", u"Z", u"")});
    Present({Board(u"COM1", u"Z", u""), Board(u"COM3", u"A"), Board(u"COM4", u"B")});
    EXPECT_FALSE(NoticeClickChoice(watcher_.LastNotice(), watcher_.Ports(), commands_).port);
    Present({Board(u"COM1", u"Z", u"")});
    EXPECT_FALSE(NoticeClickChoice(watcher_.LastNotice(), watcher_.Ports(), commands_).port);
}

} // namespace
} // namespace portmaven::arrival
