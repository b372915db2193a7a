// The notices path from udev to the host's callbacks: a umockdev testbed emits the uevents (the
// test runs under umockdev's preload, so libudev's monitor and enumeration both see the
// testbed), the real monitor, debounce timer and enumeration turn them into notices.
#include "ports/linux/port_notices_qt.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <umockdev.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace portmaven::qt {
namespace {

using namespace std::chrono_literals;

struct GObjectUnref {
    void operator()(UMockdevTestbed* testbed) const noexcept { g_object_unref(testbed); }
};

constexpr char kExistingAdapter[] =
    R"(P: /devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0/tty/ttyUSB0
N: ttyUSB0
E: DEVNAME=/dev/ttyUSB0
E: SUBSYSTEM=tty
E: ID_MODEL_FROM_DATABASE=FT232 Serial (UART) IC

P: /devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0
E: SUBSYSTEM=usb-serial
L: driver=../../../../../../bus/usb-serial/drivers/ftdi_sio
)";
constexpr char kExistingTty[] =
    "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0/tty/ttyUSB0";

constexpr char kPluggedAdapter[] =
    R"(P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB1/tty/ttyUSB1
N: ttyUSB1
E: DEVNAME=/dev/ttyUSB1
E: SUBSYSTEM=tty
E: ID_MODEL=CP2102_USB_to_UART_Bridge_Controller

P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB1
E: SUBSYSTEM=usb-serial
L: driver=../../../../../../bus/usb-serial/drivers/cp210x
)";
constexpr char kPluggedTty[] =
    "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB1/tty/ttyUSB1";
constexpr char kPluggedAdapterDevice[] =
    "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB1";

// Well past the debounce: the burst's one enumeration and its notice have happened by then.
constexpr auto kSettle = 1200ms;

class PortNoticesUdev : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(umockdev_in_mock_environment())
            << "run this test through umockdev-wrapper, which preloads the udev mock";
        Add(kExistingAdapter);
        notices_ = std::make_unique<PortNoticesQt>(PortWatchDisplay{
            .showNotice = [this](const ports::PortNotice& notice) { shown_.push_back(notice); },
            .setTooltip = [this](std::u16string_view tip) { tips_.emplace_back(tip); },
        });
        ASSERT_TRUE(notices_->IsListening());
        notices_->Seed();
    }

    void Add(const char* devices) {
        GError* error = nullptr;
        ASSERT_TRUE(umockdev_testbed_add_from_string(testbed_.get(), devices, &error))
            << (error != nullptr ? error->message : "");
    }

    void Plug() {
        Add(kPluggedAdapter);
        umockdev_testbed_uevent(testbed_.get(), kPluggedTty, "add");
    }

    void Unplug() {
        umockdev_testbed_uevent(testbed_.get(), kPluggedTty, "remove");
        umockdev_testbed_remove_device(testbed_.get(), kPluggedAdapterDevice);
    }

    static void Settle() {
        const QDeadlineTimer deadline(kSettle);
        while (!deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
    }

    static QCoreApplication& App() {
        static int argc = 1;
        static char name[] = "port_notices_qt_test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
        return app;
    }

    QCoreApplication& app_ = App();
    std::unique_ptr<UMockdevTestbed, GObjectUnref> testbed_{umockdev_testbed_new()};
    std::vector<ports::PortNotice> shown_;
    std::vector<std::u16string> tips_;
    std::unique_ptr<PortNoticesQt> notices_;
};

TEST_F(PortNoticesUdev, SeedNamesThePresentPortsWithoutANotice) {
    Settle();
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(tips_, std::vector<std::u16string>{u"Portmaven: /dev/ttyUSB0"});
}

TEST_F(PortNoticesUdev, PlugAndUnplugRaiseOneNoticeEach) {
    Plug();
    Settle();
    ASSERT_EQ(shown_.size(), 1U);
    EXPECT_EQ(shown_[0],
              (ports::PortNotice{.title = u"Serial port connected",
                                 .text = u"CP2102 USB to UART Bridge Controller (/dev/ttyUSB1)"}));
    EXPECT_EQ(tips_.back(), u"Portmaven: /dev/ttyUSB0, /dev/ttyUSB1");

    Unplug();
    Settle();
    ASSERT_EQ(shown_.size(), 2U);
    EXPECT_EQ(shown_[1],
              (ports::PortNotice{.title = u"Serial port removed",
                                 .text = u"CP2102 USB to UART Bridge Controller (/dev/ttyUSB1)"}));
    EXPECT_EQ(tips_.back(), u"Portmaven: /dev/ttyUSB0");
}

TEST_F(PortNoticesUdev, AChangeOfAPresentPortIsHeardButRaisesNoNotice) {
    const std::size_t tipsBefore = tips_.size();
    umockdev_testbed_uevent(testbed_.get(), kExistingTty, "change");
    Settle();
    // The event went through the monitor and the debounce (the tooltip was refreshed), but the
    // port set did not change.
    EXPECT_EQ(tips_.size(), tipsBefore + 1);
    EXPECT_TRUE(shown_.empty());
}

TEST_F(PortNoticesUdev, ABurstOfEventsRaisesOneNotice) {
    Plug();
    for (int i = 0; i < 5; ++i) {
        umockdev_testbed_uevent(testbed_.get(), kPluggedTty, "change");
        umockdev_testbed_uevent(testbed_.get(), kExistingTty, "change");
        QCoreApplication::processEvents();
    }
    Settle();
    ASSERT_EQ(shown_.size(), 1U);
    EXPECT_EQ(shown_[0].title, u"Serial port connected");
}

TEST_F(PortNoticesUdev, SwitchedOffTheTooltipStillFollowsButNoNoticeShows) {
    notices_->SetNotificationsEnabled(false);
    Plug();
    Settle();
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(tips_.back(), u"Portmaven: /dev/ttyUSB0, /dev/ttyUSB1");
}

} // namespace
} // namespace portmaven::qt
