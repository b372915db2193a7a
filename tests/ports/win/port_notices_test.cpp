// The Win32 side of the port-change notices: WM_DEVICECHANGE records as the system builds them,
// the registration, the debounce on a real window timer and the enumeration of a port
// registered in the Wine prefix.
#include "ports/win/port_device_change.h"
#include "ports/win/port_notices.h"
#include "ports/win/port_watch.h"

#include "framework/win/tray_icon.h"

#include "support/win/fake_serial_port.h"
#include "support/win/wait.h"

#include <gtest/gtest.h>

#include <dbt.h>
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace portmaven::win {
namespace {

LPARAM Record(const void* record) {
    return reinterpret_cast<LPARAM>(record);
}

DEV_BROADCAST_PORT_W PortRecord() {
    DEV_BROADCAST_PORT_W record{};
    record.dbcp_size = sizeof(record);
    record.dbcp_devicetype = DBT_DEVTYP_PORT;
    record.dbcp_name[0] = L'C';
    return record;
}

DEV_BROADCAST_DEVICEINTERFACE_W InterfaceRecord(const GUID& interfaceClass) {
    DEV_BROADCAST_DEVICEINTERFACE_W record{};
    record.dbcc_size = sizeof(record);
    record.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    record.dbcc_classguid = interfaceClass;
    return record;
}

TEST(PortDeviceChange, PortsAndTheComInterfaceComingOrGoingCount) {
    const DEV_BROADCAST_PORT_W port = PortRecord();
    const DEV_BROADCAST_DEVICEINTERFACE_W comInterface = InterfaceRecord(GUID_DEVINTERFACE_COMPORT);
    for (const WPARAM event : {DBT_DEVICEARRIVAL, DBT_DEVICEREMOVECOMPLETE}) {
        SCOPED_TRACE(event);
        EXPECT_TRUE(IsSerialPortDeviceChange(event, Record(&port)));
        EXPECT_TRUE(IsSerialPortDeviceChange(event, Record(&comInterface)));
    }
    // Some virtual-port drivers say nothing more than this, and say it without a record.
    EXPECT_TRUE(IsSerialPortDeviceChange(DBT_DEVNODES_CHANGED, 0));
}

TEST(PortDeviceChange, OtherEventsDevicesAndShortRecordsDoNotCount) {
    const DEV_BROADCAST_PORT_W port = PortRecord();
    for (const WPARAM event : {DBT_DEVICEQUERYREMOVE, DBT_DEVICEREMOVEPENDING,
                               DBT_DEVICEQUERYREMOVEFAILED, DBT_CONFIGCHANGED}) {
        SCOPED_TRACE(event);
        EXPECT_FALSE(IsSerialPortDeviceChange(event, Record(&port)));
    }

    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof(volume);
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1u << 4;
    EXPECT_FALSE(IsSerialPortDeviceChange(DBT_DEVICEARRIVAL, Record(&volume)));

    // A disk's interface arrives in the same kind of record as the COM port's.
    const DEV_BROADCAST_DEVICEINTERFACE_W disk = InterfaceRecord(GUID_DEVINTERFACE_DISK);
    EXPECT_FALSE(IsSerialPortDeviceChange(DBT_DEVICEARRIVAL, Record(&disk)));

    DEV_BROADCAST_DEVICEINTERFACE_W cut = InterfaceRecord(GUID_DEVINTERFACE_COMPORT);
    cut.dbcc_size = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_classguid);
    EXPECT_FALSE(IsSerialPortDeviceChange(DBT_DEVICEARRIVAL, Record(&cut)));
    DEV_BROADCAST_PORT_W empty = PortRecord();
    empty.dbcp_size = sizeof(DWORD);
    EXPECT_FALSE(IsSerialPortDeviceChange(DBT_DEVICEARRIVAL, Record(&empty)));
    EXPECT_FALSE(IsSerialPortDeviceChange(DBT_DEVICEARRIVAL, 0));
}

// A hidden top-level window, as the tray host is, with a message loop the test turns by hand.
class PortNoticesWindow : public ::testing::Test {
protected:
    void SetUp() override {
        e2e::RemoveLeftoverFakeSerialPorts();
        window_.Reset(::CreateWindowExW(0, L"STATIC", L"port notices test", WS_OVERLAPPED, 0, 0, 10,
                                        10, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                                        nullptr));
        ASSERT_TRUE(window_);
    }

    // Turns the loop, handing each debounce tick to the notices, until `wanted` ticks have
    // come or the deadline has passed; the ticks counted.
    int PumpTicks(PortNotices& notices, int wanted) const {
        int ticks = 0;
        test_support::WaitUntil(
            [&] {
                MSG msg{};
                while (::PeekMessageW(&msg, window_.Get(), 0, 0, PM_REMOVE)) {
                    if (msg.message == WM_TIMER && notices.OnTimer(msg.wParam)) {
                        ++ticks;
                        continue;
                    }
                    ::DispatchMessageW(&msg);
                }
                return ticks >= wanted;
            },
            10000, 20);
        return ticks;
    }

    // Whether the window still has the debounce timer: KillTimer fails for one it has not.
    [[nodiscard]] bool DebounceTimerRuns() const {
        return ::KillTimer(window_.Get(), kPortChangeTimerId) != FALSE;
    }

    ScopedWindow window_;
    // Never added: the tooltips and balloons of the notices go nowhere.
    TrayIcon icon_{nullptr, 1, WM_APP};
};

TEST_F(PortNoticesWindow, TheSystemGrantsTheComInterfaceRegistration) {
    const ScopedDeviceNotification registration = RegisterSerialPortNotification(window_.Get());
    EXPECT_TRUE(registration) << ::GetLastError();
}

TEST_F(PortNoticesWindow, ABurstOfSignalsGivesOneTickAndThenTheTimerStaysQuiet) {
    PortNotices notices(window_.Get(), icon_);
    const DEV_BROADCAST_PORT_W port = PortRecord();
    for (int i = 0; i < 20; ++i) {
        notices.OnDeviceChange(i % 2 == 0 ? DBT_DEVICEARRIVAL : DBT_DEVNODES_CHANGED,
                               i % 2 == 0 ? Record(&port) : 0);
    }
    // Each signal restarted the one timer; its first tick stops it for good.
    EXPECT_EQ(PumpTicks(notices, 1), 1);
    EXPECT_FALSE(DebounceTimerRuns()) << "the timer runs on after the burst";

    // Events that are not an arrival or removal start nothing.
    notices.OnDeviceChange(DBT_DEVICEQUERYREMOVE, Record(&port));
    EXPECT_FALSE(DebounceTimerRuns());
    EXPECT_FALSE(notices.OnTimer(kPortChangeTimerId + 1));
}

TEST_F(PortNoticesWindow, TheEnumerationNamesARegisteredPortAndLabelsItAsTheMenuDoes) {
    const e2e::FakeSerialPort registered(L"com041", L"Notice Test Port");
    ASSERT_TRUE(registered.Registered());
    PortWatch platform(window_.Get(), icon_);
    const std::optional<std::vector<ports::SerialPort>> found = platform.Enumerate();
    ASSERT_TRUE(found.has_value());
    const ports::SerialPort expected{u"COM41", u"41", u"Notice Test Port (COM41)"};
    EXPECT_NE(std::find(found->begin(), found->end(), expected), found->end());
}

} // namespace
} // namespace portmaven::win
