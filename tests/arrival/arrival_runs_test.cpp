// What a board's arrival starts, driven through the port watcher as the front-ends drive it:
// enumerations the test sets up with the user's settings in a store, and a starter that
// records its starts and hands back programs that run until the test ends them.
#include "arrival/arrival_runs.h"
#include "arrival/notice_click.h"
#include "ports/device_identity.h"
#include "support/fake_port_watch_platform.h"
#include "support/memory_device_store.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace portmaven::arrival {
namespace {

using ports::SerialPort;

class FakeProcess final : public launch::StartedProcess {
public:
    explicit FakeProcess(std::shared_ptr<bool> running) : running_(std::move(running)) {}
    bool IsRunning() override { return *running_; }

private:
    std::shared_ptr<bool> running_;
};

// A USB board of the kind 2e8a:000c with serial number `serial`.
SerialPort Board(std::u16string_view name, std::u16string_view serial) {
    SerialPort port{.name = std::u16string(name), .number = u"0", .label = std::u16string(name)};
    port.device = {.vendorId = u"2e8a", .productId = u"000c", .serial = std::u16string(serial)};
    return port;
}

class ArrivalRunsTest : public ::testing::Test {
protected:
    void SetUp() override {
        commands_.AppendCommand(config::MakeCommandRecord(u"Terminal", u"term %PORT%"));
        // Every board of the kind runs Terminal when it arrives.
        store_.values[ports::CommandValueName(u"usb:2e8a:000c")] = u"Terminal";
        store_.values[ports::RunValueName(u"usb:2e8a:000c")] = u"1";
        platform_.Attach(watcher_);
        platform_.onArrival = [this](std::span<const SerialPort> added) {
            return runs_.OnPortsArrived(
                added, commands_, [this](std::u16string_view, const SerialPort& port) {
                    started_.push_back(port.name);
                    launch::LaunchResult result{.started = startable_};
                    if (startable_) {
                        running_.push_back(std::make_shared<bool>(true));
                        result.process = std::make_unique<FakeProcess>(running_.back());
                    }
                    return result;
                });
        };
        platform_.WillEnumerate(std::vector{Board(u"COM1", u"Z")});
        watcher_.Seed();
    }

    // A value of the board's own.
    void SetOwn(std::u16string_view serial, std::u16string (*valueName)(std::u16string_view),
                std::u16string_view text) {
        store_.values[valueName(ports::DeviceKey(Board(u"", serial)))] = std::u16string(text);
    }

    config::CommandList commands_;
    test::MemoryDeviceStore store_;
    test::FakePortWatchPlatform platform_{store_};
    ports::PortChangeWatcher watcher_{platform_};
    ArrivalRuns runs_;
    std::vector<std::u16string> started_;
    std::vector<std::shared_ptr<bool>> running_;
    bool startable_ = true;
};

TEST_F(ArrivalRunsTest, OncePerPortOfABurstAndNotAgainWhileWhatItStartedRuns) {
    SetOwn(u"B", ports::HiddenValueName, u"1");
    SetOwn(u"C", ports::CommandValueName, u"Deleted");
    SetOwn(u"D", ports::RunValueName, u"0");
    // COM1 was there at start. A dual adapter's two ports come together; a port listed twice
    // counts once; hidden ports, commands that no longer exist and arrival switched off for one
    // board start nothing.
    platform_.Burst(std::vector{Board(u"COM1", u"Z"), Board(u"COM3", u"A"), Board(u"COM4", u"A"),
                                Board(u"COM4", u"A"), Board(u"COM5", u"B"), Board(u"COM6", u"C"),
                                Board(u"COM7", u"D")});
    EXPECT_EQ(started_, (std::vector<std::u16string>{u"COM3", u"COM4"}));

    // Board A resets while its terminals are open and comes back under another number.
    platform_.Burst(std::vector{Board(u"COM1", u"Z")});
    platform_.Burst(std::vector{Board(u"COM1", u"Z"), Board(u"COM8", u"A")});
    EXPECT_EQ(started_.size(), 2u) << "a second terminal beside the first";
    // One of its two terminals is closed; while the other runs, still none.
    *running_[0] = false;
    platform_.Burst(std::vector{Board(u"COM1", u"Z")});
    platform_.Burst(std::vector{Board(u"COM1", u"Z"), Board(u"COM8", u"A")});
    EXPECT_EQ(started_.size(), 2u);
    *running_[1] = false;
    platform_.Burst(std::vector{Board(u"COM1", u"Z")});
    platform_.Burst(std::vector{Board(u"COM1", u"Z"), Board(u"COM9", u"A")});
    EXPECT_EQ(started_.back(), u"COM9");
}

TEST_F(ArrivalRunsTest, WhatCannotStartIsToldLastAndAClickRunsOnlyOnTheBoardStillThere) {
    startable_ = false;
    platform_.Burst(std::vector{Board(u"COM1", u"Z"), Board(u"COM3", u"A")});
    ASSERT_EQ(platform_.notices.size(), 2u);
    EXPECT_EQ(platform_.notices[1].title, u"Invalid command to execute");
    EXPECT_EQ(platform_.notices[1].text, u"COM3");
    // A click on that one is about no board; on the one before, about the board that came.
    EXPECT_FALSE(NoticeClickChoice(watcher_.LastNotice(), watcher_.Ports(), commands_).port);
    const std::optional<ports::PortNotice> arrived = platform_.notices[0];
    const tray::CommandChoice click = NoticeClickChoice(arrived, watcher_.Ports(), commands_);
    EXPECT_EQ(click.port, 1u);
    EXPECT_EQ(click.command, 0);
    // Long after: the board has gone, or another took its number.
    EXPECT_FALSE(NoticeClickChoice(arrived, watcher_.Ports().first(1), commands_).port);
    EXPECT_FALSE(NoticeClickChoice(arrived, std::vector{Board(u"COM3", u"Q")}, commands_).port);

    // With the port notices off, what failed is still told.
    watcher_.SetNotificationsEnabled(false);
    platform_.Burst(std::vector{Board(u"COM1", u"Z")});
    platform_.Burst(std::vector{Board(u"COM1", u"Z"), Board(u"COM3", u"A")});
    EXPECT_EQ(platform_.notices.back().title, u"Invalid command to execute");
    EXPECT_EQ(platform_.notices.size(), 3u);
}

} // namespace
} // namespace portmaven::arrival
