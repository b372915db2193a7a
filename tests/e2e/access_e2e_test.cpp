// Who holds a port open, end to end under Wine: a helper holds a registered port whose device
// is a pseudo-terminal, and the real Portmaven.exe names it in that port's details line, read
// inside the program's own process.
#include "support/win/held_port.h"
#include "harness.h"
#include "menu_probe.h"

#include "framework/win/scoped_handle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace portmaven::e2e {
namespace {

using Texts = std::vector<std::wstring>;

constexpr wchar_t kPort[] = L"COM21";
constexpr wchar_t kNotInUse[] = L"No device details";

std::wstring InUseBy(const PortHolderProcess& holder) {
    return L"in use by port_holder (" + std::to_wstring(holder.ProcessId()) + L")";
}

class AccessE2e : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveLeftoverFakeSerialPorts();
        port_ = std::make_unique<PtySerialPort>(kPort, L"Pseudo Terminal");
        ASSERT_TRUE(port_->Ready()) << "no registered port leading to a pseudo-terminal";
        holder_ = std::make_unique<PortHolderProcess>(kPort);
        ASSERT_TRUE(holder_->Holding()) << "the helper could not open the port";
    }

    // Opens the tray menu and the port's submenu, which holds its details line, until an item
    // reads `text` while the submenu is open (the answer of a look may come in place or at a
    // later opening); closes the menu after each opening.
    bool PortSubmenuShows(const PortmavenProcess& app, const MenuProbe& probe,
                          const std::wstring& text) {
        return WaitUntil(
            [&] {
                if (!app.OpenTrayMenu(WM_RBUTTONUP)) {
                    return false;
                }
                PressMenuKey(VK_DOWN);
                PressMenuKey(VK_RIGHT);
                const bool shown = WaitUntil(
                    [&] {
                        const auto texts = probe.OpenMenuTexts();
                        seen_.clear();
                        for (const std::wstring& item : texts.value_or(Texts{})) {
                            seen_ += L" [" + item + L"]";
                        }
                        return texts && std::ranges::find(*texts, text) != texts->end();
                    },
                    3000);
                CloseMenus(app);
                return shown;
            },
            60000);
    }

    // Ends the menu as the system's EndMenu does, by cancelling its popups' mode.
    static void CloseMenus(const PortmavenProcess& app) {
        WaitUntil([&] {
            bool open = false;
            for (const HWND window : app.VisibleWindows()) {
                if (ClassName(window) == L"#32768") {
                    ::PostMessageW(window, WM_CANCELMODE, 0, 0);
                    open = true;
                }
            }
            return !open;
        });
    }

    std::unique_ptr<PtySerialPort> port_;
    std::unique_ptr<PortHolderProcess> holder_;
    // What the open menus said last, for the failure messages.
    std::wstring seen_;
};

TEST_F(AccessE2e, DetailsLineNamesTheProgramHoldingThePortUntilItEnds) {
    TestFolder folder(L"access-in-use");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    const MenuProbe probe(app.ProcessHandle(), app.ProcessId());
    ASSERT_TRUE(probe.Loaded());

    EXPECT_TRUE(PortSubmenuShows(app, probe, InUseBy(*holder_))) << seen_;
    holder_->End();
    EXPECT_TRUE(PortSubmenuShows(app, probe, kNotInUse)) << seen_;
}

TEST_F(AccessE2e, ANameQueryThatNeverReturnsHoldsUpNeitherTheMenuNorTheOtherHandles) {
    // The program's first name query waits for this event, which is never set, as the query
    // waits for ever on some handles on Windows (nothing makes one wait under Wine).
    const std::wstring gateName =
        L"PortmavenTestNameQueryGate." + std::to_wstring(::GetCurrentProcessId());
    const win::ScopedKernelHandle gate(::CreateEventW(nullptr, TRUE, FALSE, gateName.c_str()));
    ASSERT_TRUE(gate);
    TestFolder folder(L"access-hung");
    ::SetEnvironmentVariableW(L"PORTMAVEN_TEST_NAME_QUERY_GATE", gateName.c_str());
    PortmavenProcess app(folder);
    ::SetEnvironmentVariableW(L"PORTMAVEN_TEST_NAME_QUERY_GATE", nullptr);
    ASSERT_TRUE(app.WaitForHost());
    const MenuProbe probe(app.ProcessHandle(), app.ProcessId());
    ASSERT_TRUE(probe.Loaded());

    EXPECT_TRUE(PortSubmenuShows(app, probe, InUseBy(*holder_))) << seen_;
}

} // namespace
} // namespace portmaven::e2e
