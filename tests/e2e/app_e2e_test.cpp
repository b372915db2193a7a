// The application shell end to end: one copy per session, the hidden host, the tray icon, and
// which ways of ending the program write the command file.
#include "harness.h"

#include "framework/win/scoped_handle.h"
#include "config/command_record.h"
#include "tray/menu_ids.h"

#include <gtest/gtest.h>

#include <cstring>

namespace portmaven::e2e {
namespace {

constexpr UINT kExit = tray::kExitId;
const CommandText kConnect{u"Connect", u"C:\\Program Files\\TTERMPRO\\ttermpro.exe /C=%PORTNUM%"};

TEST(SingleInstance, SecondCopyShowsInformationAndEndsWhileFirstKeepsRunning) {
    TestFolder folder(L"single");
    PortmavenProcess first(folder);
    ASSERT_TRUE(first.WaitForHost());

    PortmavenProcess second(folder);
    HWND box = second.WaitForWindow(L"Information");
    ASSERT_NE(box, nullptr) << "the second copy showed no Information box";
    EXPECT_EQ(MessageBoxText(box), L"Portmaven already running!");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(second.WaitForExit());

    EXPECT_FALSE(first.HasExited());
    EXPECT_TRUE(first.TrayIconPresent());
    // The first copy's menu still works.
    ASSERT_TRUE(first.OpenTrayMenu());
    PressMenuKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForMenuClosed());
}

TEST(SingleInstance, NewStartSucceedsAfterTheRunningCopyEnded) {
    TestFolder folder(L"restart");
    {
        PortmavenProcess first(folder);
        ASSERT_TRUE(first.WaitForHost());
        first.PostCommand(kExit);
        ASSERT_TRUE(first.WaitForExit());
    }
    PortmavenProcess again(folder);
    ASSERT_TRUE(again.WaitForHost()) << "the event should have vanished with the first copy";
    EXPECT_EQ(again.WaitForWindow(L"Information", 500), nullptr);
}

TEST(SingleInstance, ObjectOfAnotherKindWithTheEventsNameEndsTheProgramSilently) {
    // A mutex holds the name, so the event cannot be created or opened under it.
    const win::ScopedKernelHandle squatter(::CreateMutexW(nullptr, FALSE, L"PORTMAVEN_EVENT"));
    ASSERT_TRUE(squatter);
    TestFolder folder(L"name-taken");
    PortmavenProcess app(folder);

    bool showedWindow = false;
    EXPECT_TRUE(WaitUntil(
        [&] {
            showedWindow = showedWindow || !app.VisibleWindows().empty();
            return app.HasExited();
        },
        15000))
        << "the program kept running";
    EXPECT_FALSE(showedWindow) << "the program said something";
    EXPECT_FALSE(ReadFileBytes(folder.ConfigPath())) << "the program wrote its command file";
}

TEST(Lifecycle, HostStaysHiddenAfterStart) {
    TestFolder folder(L"hidden");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    EXPECT_TRUE(WaitUntil([&] { return app.VisibleWindows().empty(); }, 5000))
        << "a window of the program stayed visible";
    EXPECT_EQ(::GetWindowLongPtrW(app.Host(), GWL_EXSTYLE) & WS_EX_APPWINDOW, WS_EX_APPWINDOW);
}

TEST(Lifecycle, ExitFromTheTrayMenuWritesTheDefaultCommand) {
    TestFolder folder(L"exit-default");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    EXPECT_FALSE(ReadConfigFile(folder.ConfigPath())) << "the file comes into being at Exit";

    // Exit is the menu's last item.
    ASSERT_TRUE(app.OpenTrayMenu(WM_LBUTTONUP));
    PressMenuKey(VK_UP);
    PressMenuKey(VK_RETURN);
    ASSERT_TRUE(app.WaitForExit());

    const auto saved = ReadConfigFile(folder.ConfigPath());
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, std::vector<CommandText>{kConnect});
    EXPECT_EQ(ReadFileBytes(folder.ConfigPath())->size(), config::kRecordBytes);
}

TEST(Lifecycle, ExitRewritesAnUnchangedFileWithCleanPadding) {
    TestFolder folder(L"exit-rewrite");
    auto record = config::MakeCommandRecord(u"Probe", u"probe.exe %PORTNUM%");
    std::memset(record.szName + 10, 0x7A, 20); // garbage after the terminator
    WriteFileBytes(folder.ConfigPath(),
                   std::string(reinterpret_cast<const char*>(&record), sizeof record));

    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    app.PostCommand(kExit);
    ASSERT_TRUE(app.WaitForExit());

    const auto bytes = ReadFileBytes(folder.ConfigPath());
    ASSERT_TRUE(bytes);
    const auto clean = config::MakeCommandRecord(u"Probe", u"probe.exe %PORTNUM%");
    EXPECT_TRUE(*bytes == std::string(reinterpret_cast<const char*>(&clean), sizeof clean))
        << "the rewritten record is not the clean image of the loaded one";
}

TEST(Lifecycle, ExitWithAnEmptyListLeavesAnEmptyFile) {
    TestFolder folder(L"exit-empty");
    WriteFileBytes(folder.ConfigPath(), "");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    app.PostCommand(kExit);
    ASSERT_TRUE(app.WaitForExit());
    const auto bytes = ReadFileBytes(folder.ConfigPath());
    ASSERT_TRUE(bytes) << "the file must still exist";
    EXPECT_TRUE(bytes->empty());
}

// After the tray menu closes the hidden host owns the foreground, so a second Escape or an
// Enter reaches it as IDCANCEL or IDOK. Neither may end the program.
TEST(Lifecycle, StrayEnterAndEscapeLeaveTheProgramRunning) {
    TestFolder folder(L"stray-keys");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());

    ASSERT_TRUE(app.OpenTrayMenu());
    PressMenuKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForMenuClosed());
    // The second Escape as the user types it, then what Enter and Escape become in the host's
    // dialog manager wherever the keyboard focus ended up.
    PressKey(VK_ESCAPE);
    PressKey(VK_RETURN);
    ::PostMessageW(app.Host(), WM_COMMAND, IDCANCEL, 0);
    ::PostMessageW(app.Host(), WM_COMMAND, IDOK, 0);

    EXPECT_FALSE(app.WaitForExit(2000)) << "a stray key ended the program";
    EXPECT_TRUE(app.TrayIconPresent());
    EXPECT_TRUE(app.OpenTrayMenu()) << "the menu no longer opens";
    PressMenuKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForMenuClosed());
}

// WM_CLOSE from outside, as an installer or a tool sends it, ends the program without saving.
TEST(Lifecycle, CloseFromOutsideEndsTheProgramAndRemovesTheIconButLeavesTheFile) {
    TestFolder folder(L"close");
    const std::vector<CommandText> original{{u"Mine", u"mine.exe %PORTNUM%"}};
    WriteConfigFile(folder.ConfigPath(), original);
    const auto before = ReadFileBytes(folder.ConfigPath());

    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    HWND host = app.Host();
    ::PostMessageW(host, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit());

    EXPECT_TRUE(ReadFileBytes(folder.ConfigPath()) == before) << "the file was rewritten";
    EXPECT_FALSE(TrayIconOf(host)) << "the icon outlived the program";
}

TEST(TrayIcon, ComesBackWhenTheNotificationAreaIsRecreated) {
    TestFolder folder(L"taskbar");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());

    // A shell restart loses every icon; take ours away as the dying shell would.
    ASSERT_TRUE(DeleteTrayIcon(app.Host()));
    ASSERT_FALSE(app.TrayIconPresent());

    ::PostMessageW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return app.TrayIconPresent(); }, 10000));

    // And the program is still usable from it.
    ASSERT_TRUE(app.OpenTrayMenu());
    PressMenuKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForMenuClosed());
}

} // namespace
} // namespace portmaven::e2e
