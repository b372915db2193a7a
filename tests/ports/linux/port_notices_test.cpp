// The notices path from udev to the host's callbacks: a umockdev testbed emits the uevents (the
// test runs under umockdev's preload, so libudev's monitor and enumeration both see the
// testbed), the real monitor, debounce timer and enumeration turn them into notices, naming the
// ports as the user's settings file says at that moment.
#include "ports/linux/port_notices.h"

#include "ports/device_settings.h"
#include "ports/linux/device_store.h"

#include <QCoreApplication>

#include "support/linux/umockdev_testbed.h"
#include "support/linux/wait.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace portmaven::linux_desktop {
namespace {

using test::WaitFor;

const test::UsbSerialAdapter kExistingAdapter{
    .tty = "ttyUSB0",
    .busPort = "1-1",
    .properties = {{"ID_MODEL_FROM_DATABASE", "FT232 Serial (UART) IC"}},
    .driver = "ftdi_sio",
};

const test::UsbSerialAdapter kPluggedAdapter{
    .tty = "ttyUSB1",
    .busPort = "1-2",
    .properties = {{"ID_MODEL", "CP2102_USB_to_UART_Bridge_Controller"}},
    .driver = "cp210x",
};

class PortNoticesUdev : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(umockdev_in_mock_environment())
            << "run this test through umockdev-wrapper, which preloads the udev mock";
        std::string error;
        ASSERT_TRUE(testbed_.Add(RecordOf(kExistingAdapter), error)) << error;
        notices_ = std::make_unique<PortNotices>(
            PortWatchDisplay{
                .showNotice = [this](const ports::PortNotice& notice) { shown_.push_back(notice); },
                .setTooltip = [this](std::u16string_view tip) { tips_.emplace_back(tip); },
            },
            SettingsFile());
        ASSERT_TRUE(notices_->IsListening());
        notices_->Seed();
    }

    void Plug() {
        std::string error;
        ASSERT_TRUE(testbed_.Plug(kPluggedAdapter, error)) << error;
    }

    // A burst's enumeration sets the tooltip and then raises its notice in one go, so a test that
    // waits for the tooltip sees the notice too, or knows there was none.
    bool WaitForTooltip(std::u16string_view tip) {
        return WaitFor([&] { return !tips_.empty() && tips_.back() == tip; });
    }

    static QCoreApplication& App() {
        static int argc = 1;
        static char name[] = "port_notices_qt_test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
        return app;
    }

    QCoreApplication& app_ = App();
    test::UmockdevTestbed testbed_;
    std::vector<ports::PortNotice> shown_;
    std::vector<std::u16string> tips_;
    // No names or hidden flags of the user's own until a test gives some.
    config::testing::TempDir settings_;
    std::unique_ptr<PortNotices> notices_;

    [[nodiscard]] std::filesystem::path SettingsFile() const {
        return settings_.Path() / "portmaven.conf";
    }
};

TEST_F(PortNoticesUdev, SeedNamesTheSerialPortsWithoutANotice) {
    // The seed enumerates at once, with no event to wait for.
    QCoreApplication::processEvents();
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(tips_, std::vector<std::u16string>{u"Portmaven: /dev/ttyUSB0"});
}

TEST_F(PortNoticesUdev, PlugAndUnplugRaiseOneNoticeEachWithTheNameOfTheMoment) {
    Plug();
    ASSERT_TRUE(WaitFor([this] { return !shown_.empty(); })) << "no notice of the plug";
    ASSERT_EQ(shown_.size(), 1U);
    EXPECT_EQ(shown_[0],
              (ports::PortNotice{.title = u"Serial port connected",
                                 .text = u"CP2102 USB to UART Bridge Controller (/dev/ttyUSB1)",
                                 .namedText =
                                     u"/dev/ttyUSB1 \u00B7 CP2102 USB to UART Bridge Controller"}));
    EXPECT_EQ(tips_.back(), u"Portmaven: /dev/ttyUSB0, /dev/ttyUSB1");

    // Renamed as the menu renames it, then unplugged: the notice says the new name.
    ports::SerialPort plugged = notices_->Ports().back();
    IniDeviceStore store(SettingsFile());
    ASSERT_TRUE(ports::SetPortName(store, plugged, u"Bench UART"));
    testbed_.Unplug(kPluggedAdapter);
    ASSERT_TRUE(WaitFor([this] { return shown_.size() >= 2; })) << "no notice of the unplug";
    ASSERT_EQ(shown_.size(), 2U);
    EXPECT_EQ(shown_[1],
              (ports::PortNotice{.title = u"Serial port removed",
                                 .text = u"Bench UART (/dev/ttyUSB1)",
                                 .namedText = u"/dev/ttyUSB1 \u00B7 Bench UART"}));
    EXPECT_EQ(tips_.back(), u"Portmaven: /dev/ttyUSB0");
}

TEST_F(PortNoticesUdev, AChangeOfASerialPortIsHeardButRaisesNoNotice) {
    const std::size_t tipsBefore = tips_.size();
    testbed_.Uevent(kExistingAdapter.TtyPath(), "change");
    // The event went through the monitor and the debounce (the tooltip was refreshed), but the
    // port set did not change.
    ASSERT_TRUE(WaitFor([&] { return tips_.size() > tipsBefore; })) << "the change was not heard";
    EXPECT_EQ(tips_.back(), u"Portmaven: /dev/ttyUSB0");
    EXPECT_TRUE(shown_.empty());
}

TEST_F(PortNoticesUdev, ABurstOfEventsRaisesOneNotice) {
    Plug();
    for (int i = 0; i < 5; ++i) {
        testbed_.Uevent(kPluggedAdapter.TtyPath(), "change");
        testbed_.Uevent(kExistingAdapter.TtyPath(), "change");
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(WaitForTooltip(u"Portmaven: /dev/ttyUSB0, /dev/ttyUSB1"));
    ASSERT_EQ(shown_.size(), 1U);
    EXPECT_EQ(shown_[0].title, u"Serial port connected");
}

TEST_F(PortNoticesUdev, SwitchedOffTheTooltipStillFollowsButNoNoticeShows) {
    notices_->SetNotificationsEnabled(false);
    Plug();
    EXPECT_TRUE(WaitForTooltip(u"Portmaven: /dev/ttyUSB0, /dev/ttyUSB1"));
    EXPECT_TRUE(shown_.empty());
}

} // namespace
} // namespace portmaven::linux_desktop
