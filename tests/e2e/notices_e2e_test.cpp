// Port notices end to end: a port registered in the prefix, then WM_DEVICECHANGE sent to the
// real program as the system sends it; the balloon and the tooltip are read back from the
// notification area's own process.
#include "support/win/fake_serial_port.h"
#include "harness.h"
#include "tray_notices.h"

#include "resource.h"
#include "tray/menu_ids.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace portmaven::e2e {
namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Portmaven";
constexpr wchar_t kNotifyValue[] = L"NotifyPortChanges";

// Wine's tray shows one balloon at a time, each a few seconds after it was asked for and for
// up to ten seconds, so a balloon may wait behind another one; on a busy machine the wait
// grows further.
constexpr DWORD kBalloonTimeoutMs = 30000;

bool BalloonShown(std::wstring_view text) {
    return !TrayTooltipsNaming(text, /*visibleOnly=*/true).empty();
}

class NoticesE2e : public ::testing::Test {
protected:
    static void SetUpTestSuite() { PrimeTrayBalloons(); }

    void SetUp() override {
        RemoveLeftoverFakeSerialPorts();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    }
    void TearDown() override {
        ports_.clear();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    }

    void Register(std::wstring_view portName, std::wstring_view description) {
        ports_.push_back(std::make_unique<FakeSerialPort>(portName, description));
        ASSERT_TRUE(ports_.back()->Registered()) << "cannot register a port in the prefix";
    }

    static void StoreNotify(DWORD value) {
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, kNotifyValue, REG_DWORD,
                                    &value, sizeof(value)),
                  ERROR_SUCCESS);
    }

    std::vector<std::unique_ptr<FakeSerialPort>> ports_;
};

TEST_F(NoticesE2e, ArrivalAndRemovalRaiseBalloonsAndTheTooltipFollowsThePorts) {
    TestFolder folder(L"notice-arrival");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    ASSERT_TRUE(TrayProcessId() != 0) << "no notification area to show notices in";
    constexpr std::wstring_view kLabel = L"Notice Adapter (COM47)";

    Register(L"COM47", L"Notice Adapter");
    ASSERT_TRUE(SendPortArrival(app.Host(), L"COM47"));
    std::vector<HWND> arrival;
    EXPECT_TRUE(WaitUntil(
        [&] {
            arrival = TrayTooltipsNaming(kLabel, /*visibleOnly=*/true);
            return !arrival.empty();
        },
        kBalloonTimeoutMs))
        << "no balloon for the new port";
    EXPECT_FALSE(TrayTooltipsNaming(L"Portmaven: COM47", /*visibleOnly=*/false).empty())
        << "the tooltip does not name the new port";
    EXPECT_TRUE(app.VisibleWindows().empty()) << "the notice came with a window of the program";

    // Clicking the balloon opens the tray menu, as a click on the icon does.
    app.PostTrayMessage(NIN_BALLOONUSERCLICK);
    EXPECT_TRUE(WaitUntil(IsPopupMenuShown, 5000)) << "the balloon click opened no menu";
    PressMenuKey(VK_ESCAPE, 2);
    EXPECT_TRUE(WaitForMenuClosed());

    ports_.clear();
    ASSERT_TRUE(SendPortRemoval(app.Host(), L"COM47"));
    // The shell replaces the balloon of an icon with a new one.
    EXPECT_TRUE(WaitUntil(
        [&] {
            for (HWND balloon : TrayTooltipsNaming(kLabel, /*visibleOnly=*/true)) {
                if (std::find(arrival.begin(), arrival.end(), balloon) == arrival.end()) {
                    return true;
                }
            }
            return false;
        },
        kBalloonTimeoutMs))
        << "no balloon for the removed port";
    EXPECT_TRUE(WaitUntil([] { return TrayTooltipsNaming(L"Portmaven: COM47", false).empty(); }))
        << "the tooltip still names the removed port";
}

TEST_F(NoticesE2e, WithTheBoxUncheckedOnlyTheTooltipFollows) {
    StoreNotify(0);
    TestFolder folder(L"notice-off");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());

    Register(L"COM48", L"Quiet Adapter");
    ASSERT_TRUE(SendDevNodesChanged(app.Host()));
    // The tooltip naming the port proves that the enumeration ran.
    ASSERT_TRUE(WaitUntil([] { return !TrayTooltipsNaming(L"Portmaven: COM48", false).empty(); }));
    // The shell shows a balloon a while after it was asked to (two seconds under Wine).
    const bool balloon = WaitUntil([] { return BalloonShown(L"Quiet Adapter (COM48)"); }, 4000);
    EXPECT_FALSE(balloon) << "a balloon although the notices are off";
}

TEST_F(NoticesE2e, FiftyMessagesInABurstGiveOneEnumerationAndOneBalloon) {
    TestFolder folder(L"notice-burst");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    DllLoads enumerations(app.ProcessId(), L"setupapi.dll");
    ASSERT_TRUE(WaitUntil([&] {
        enumerations.Count();
        return enumerations.Attached();
    })) << "cannot watch the program's enumerations";

    Register(L"COM49", L"Burst Adapter");
    // Posted at once, so that the program finds them all waiting, however busy the machine.
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(::PostMessageW(app.Host(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0));
    }
    ASSERT_TRUE(WaitUntil(
        [&] {
            enumerations.Count();
            return BalloonShown(L"Burst Adapter (COM49)");
        },
        kBalloonTimeoutMs))
        << "no balloon after the burst";
    EXPECT_EQ(enumerations.Count(), 1u) << "one burst, one enumeration";
}

TEST_F(NoticesE2e, NoticesComeWhileConfigureIsOpenAndItsCloseTurnsThemOff) {
    TestFolder folder(L"notice-configure");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    app.PostCommand(tray::kPropertiesId);
    HWND dialog = app.WaitForWindow(L"Configure");
    ASSERT_NE(dialog, nullptr);
    HWND box = ::GetDlgItem(dialog, IDC_CHECK_NOTIFY_PORT_CHANGES);
    EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED) << "on when nothing is stored";

    // The dialog's own loop runs, and the host's messages still arrive.
    Register(L"COM51", L"Dialog Adapter");
    ASSERT_TRUE(SendPortArrival(app.Host(), L"COM51"));
    EXPECT_TRUE(
        WaitUntil([] { return BalloonShown(L"Dialog Adapter (COM51)"); }, kBalloonTimeoutMs));
    EXPECT_EQ(::GetForegroundWindow(), dialog) << "the balloon took the focus";

    ::PostMessageW(box, BM_CLICK, 0, 0);
    ::PostMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindow(dialog) == FALSE; }, 5000));
    DWORD stored = 1;
    DWORD bytes = sizeof(stored);
    EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, kNotifyValue, RRF_RT_REG_DWORD,
                             nullptr, &stored, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(stored, 0u);

    Register(L"COM52", L"Silent Adapter");
    ASSERT_TRUE(SendPortArrival(app.Host(), L"COM52"));
    ASSERT_TRUE(WaitUntil([] { return !TrayTooltipsNaming(L"COM52", false).empty(); }));
    EXPECT_FALSE(WaitUntil([] { return BalloonShown(L"Silent Adapter (COM52)"); }, 4000))
        << "Close did not turn the notices off";
}

} // namespace
} // namespace portmaven::e2e
