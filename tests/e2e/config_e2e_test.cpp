// The Configure dialog end to end: opened from the tray menu with the keyboard, driven through
// its own controls, and judged by the command file on disk, the list the next opening shows,
// the Run value in the registry, and what the tray menu launches afterwards.
#include "support/win/fake_serial_port.h"
#include "harness.h"
#include "recorder_copy.h"

#include "framework/win/scoped_handle.h"
#include "resource.h"
#include "tray/menu_ids.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace portmaven::e2e {
namespace {

constexpr UINT kExit = tray::kExitId;
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Portmaven";
const CommandText kConnect{u"Connect", u"tt.exe /C=%PORTNUM%"};
const CommandText kPutty{u"Putty", u"putty.exe -serial COM%PORTNUM%"};

std::optional<std::wstring> ReadRunValue() {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_READ, &raw) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const win::ScopedRegistryKey key(raw);
    wchar_t data[4096] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key.Get(), kRunValue, nullptr, &type, reinterpret_cast<BYTE*>(data),
                           &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    return std::wstring(data);
}

void SetRunValue(const std::optional<std::wstring>& value) {
    HKEY raw = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_ALL_ACCESS, &raw), ERROR_SUCCESS);
    const win::ScopedRegistryKey key(raw);
    if (!value) {
        ::RegDeleteValueW(key.Get(), kRunValue);
        return;
    }
    ::RegSetValueExW(key.Get(), kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                     static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
}

HWND Item(HWND dialog, int id) {
    return ::GetDlgItem(dialog, id);
}

// Posted, not sent: a click may raise a message box that would hold a sent message.
void Click(HWND dialog, int id) {
    ::PostMessageW(Item(dialog, id), BM_CLICK, 0, 0);
}

bool IsChecked(HWND dialog) {
    return ::SendMessageW(Item(dialog, IDC_CHECK_LAUNCH_ON_STARTUP), BM_GETCHECK, 0, 0) ==
           BST_CHECKED;
}

int RowCount(HWND dialog) {
    // LVM_GETITEMCOUNT carries no pointer, so it works across processes.
    return static_cast<int>(::SendMessageW(Item(dialog, IDC_COMMAND_LIST), 0x1004, 0, 0));
}

bool TextBecomes(HWND window, const std::wstring& text) {
    return WaitUntil([&] { return WindowText(window) == text; }, 5000);
}

bool Closed(HWND window) {
    return WaitUntil([&] { return ::IsWindow(window) == FALSE; }, 10000);
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The tray menu ends with "Properties", a separator, "About Portmaven" and "Exit".
HWND OpenConfigure(const PortmavenProcess& app) {
    if (!app.OpenTrayMenu(WM_RBUTTONUP)) {
        return nullptr;
    }
    PressMenuKey(VK_UP, 3);
    PressMenuKey(VK_RETURN);
    return app.WaitForWindow(L"Configure");
}

// Starts an add, replaces both sample texts by typing, and confirms it with "Update".
void AddByTyping(HWND dialog, const std::wstring& name, const std::wstring& command) {
    Click(dialog, IDC_BUTTON_ADD);
    ASSERT_TRUE(TextBecomes(Item(dialog, IDC_EDIT_NAME), L"My command"));
    // The focus is in the name field; select its sample text and type over it.
    ::SendMessageW(Item(dialog, IDC_EDIT_NAME), EM_SETSEL, 0, -1);
    TypeText(name);
    ASSERT_TRUE(TextBecomes(Item(dialog, IDC_EDIT_NAME), name));
    // Tabbing into the command field selects its text.
    PressKey(VK_TAB);
    TypeText(command);
    ASSERT_TRUE(TextBecomes(Item(dialog, IDC_EDIT_COMMAND), command));
    Click(dialog, IDC_BUTTON_ADD);
    ASSERT_TRUE(TextBecomes(Item(dialog, IDC_BUTTON_ADD), L"Add"));
}

// Each test starts without the Run value and puts back what was there.
class ConfigureE2e : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = ReadRunValue();
        SetRunValue(std::nullopt);
    }
    void TearDown() override { SetRunValue(saved_); }

private:
    std::optional<std::wstring> saved_;
};

TEST_F(ConfigureE2e, AddedCommandIsOnDiskAtOnceAndInTheNextOpening) {
    TestFolder folder(L"cfg-add");
    WriteConfigFile(folder.ConfigPath(), {kConnect});
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());

    HWND dialog = OpenConfigure(app);
    ASSERT_NE(dialog, nullptr) << "Properties did not open the Configure dialog";
    EXPECT_EQ(RowCount(dialog), 1);
    AddByTyping(dialog, L"Minicom", L"minicom.exe -D COM%PORTNUM%");
    EXPECT_EQ(RowCount(dialog), 2);
    Click(dialog, IDOK);
    ASSERT_TRUE(Closed(dialog));

    // Saved by Close itself, without Exit.
    EXPECT_EQ(ReadConfigFile(folder.ConfigPath()),
              (std::vector<CommandText>{kConnect, {u"Minicom", u"minicom.exe -D COM%PORTNUM%"}}));

    // The next opening lists it, and refuses it as a duplicate of a committed command.
    dialog = OpenConfigure(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(RowCount(dialog), 2);
    Click(dialog, IDC_BUTTON_ADD);
    ASSERT_TRUE(TextBecomes(Item(dialog, IDC_EDIT_NAME), L"My command"));
    ::SendMessageW(Item(dialog, IDC_EDIT_NAME), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L"Minicom"));
    Click(dialog, IDC_BUTTON_ADD);
    HWND box = app.WaitForWindow(L"Portmaven");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"Comand already exist");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Closed(box));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(Closed(dialog));
}

TEST_F(ConfigureE2e, AddedCommandLaunchesFromTheNextTrayMenu) {
    RemoveLeftoverFakeSerialPorts();
    const FakeSerialPort port(L"COM4", L"Adapter");
    ASSERT_TRUE(port.Registered());
    TestFolder folder(L"cfg-launch");
    Recorder tool(folder.File(L"tool.exe"));
    ASSERT_TRUE(tool.Installed());
    WriteConfigFile(folder.ConfigPath(), {kConnect});
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());

    HWND dialog = OpenConfigure(app);
    ASSERT_NE(dialog, nullptr);
    AddByTyping(dialog, L"Tool", tool.Path() + L" /C=%PORTNUM%");
    Click(dialog, IDOK);
    ASSERT_TRUE(Closed(dialog));

    // The port's submenu now lists the new command second, and it runs on that port.
    ASSERT_TRUE(ChooseCommand(app, 0, 1));
    const auto arguments = tool.Arguments();
    ASSERT_TRUE(arguments) << "the added command was not launched";
    EXPECT_EQ(*arguments, std::vector<std::string>{"/C=4"});
}

TEST_F(ConfigureE2e, EscapeAfterChangesLeavesListFileAndRunValueUntouched) {
    TestFolder folder(L"cfg-escape");
    WriteConfigFile(folder.ConfigPath(), {kConnect, kPutty});
    const auto before = ReadFileBytes(folder.ConfigPath());
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());

    HWND dialog = OpenConfigure(app);
    ASSERT_NE(dialog, nullptr);
    AddByTyping(dialog, L"Extra", L"extra.exe");
    Click(dialog, IDC_CHECK_LAUNCH_ON_STARTUP);
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(dialog); }, 5000));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(Closed(dialog));

    EXPECT_TRUE(ReadFileBytes(folder.ConfigPath()) == before);
    EXPECT_FALSE(ReadRunValue());

    dialog = OpenConfigure(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(RowCount(dialog), 2);
    EXPECT_FALSE(IsChecked(dialog));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(Closed(dialog));

    // Exit writes the list in memory: still the original two.
    app.PostCommand(kExit);
    ASSERT_TRUE(app.WaitForExit());
    EXPECT_EQ(ReadConfigFile(folder.ConfigPath()), (std::vector<CommandText>{kConnect, kPutty}));
}

TEST_F(ConfigureE2e, CheckingTheBoxWritesTheExecutablePathAndUncheckingRemovesIt) {
    TestFolder folder(L"cfg-run value");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());

    HWND dialog = OpenConfigure(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsChecked(dialog));
    Click(dialog, IDC_CHECK_LAUNCH_ON_STARTUP);
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(dialog); }, 5000));
    Click(dialog, IDOK);
    ASSERT_TRUE(Closed(dialog));

    const auto written = ReadRunValue();
    ASSERT_TRUE(written) << "no Run value after Close with the box checked";
    // The folder name has a blank: the quotes keep a log-on from starting its first word.
    ASSERT_GE(written->size(), 2U);
    EXPECT_EQ(written->front(), L'"');
    EXPECT_EQ(written->back(), L'"');
    EXPECT_TRUE(SamePath(written->substr(1, written->size() - 2), folder.ExePath()))
        << "written: " << ::testing::PrintToString(*written);

    dialog = OpenConfigure(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsChecked(dialog));
    Click(dialog, IDC_CHECK_LAUNCH_ON_STARTUP);
    ASSERT_TRUE(WaitUntil([&] { return !IsChecked(dialog); }, 5000));
    Click(dialog, IDOK);
    ASSERT_TRUE(Closed(dialog));
    EXPECT_FALSE(ReadRunValue());
}

TEST_F(ConfigureE2e, ExistingValueWithAnotherPathIsLeftAlone) {
    const std::wstring elsewhere = L"D:\\Old Place\\Portmaven.exe";
    SetRunValue(elsewhere);
    TestFolder folder(L"cfg-run-other");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());

    HWND dialog = OpenConfigure(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsChecked(dialog)) << "any existing value checks the box";
    Click(dialog, IDOK);
    ASSERT_TRUE(Closed(dialog));
    EXPECT_EQ(ReadRunValue(), elsewhere);
}

TEST_F(ConfigureE2e, FailedSaveIsReportedAndTheCommittedListIsKept) {
    TestFolder folder(L"cfg-save-fails");
    // A folder where the file belongs: nothing can replace it. It is there before the start,
    // so the program's one reading of the file cannot race with the test setting it up.
    const std::wstring blocker = folder.ConfigPath();
    ASSERT_TRUE(::CreateDirectoryW(blocker.c_str(), nullptr));
    WriteFileBytes(blocker + L"\\keep", "x");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());

    HWND dialog = OpenConfigure(app);
    ASSERT_NE(dialog, nullptr);
    const int rowsBefore = RowCount(dialog);
    AddByTyping(dialog, L"Second", L"second.exe");
    Click(dialog, IDOK);
    HWND box = app.WaitForWindow(L"Portmaven");
    ASSERT_NE(box, nullptr) << "the failed save was not reported";
    EXPECT_EQ(MessageBoxText(box), L"Failed to save the command list");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Closed(dialog));

    dialog = OpenConfigure(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(RowCount(dialog), rowsBefore + 1) << "the committed list was lost";
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(Closed(dialog));

    app.Kill();
    ::DeleteFileW((blocker + L"\\keep").c_str());
    ::RemoveDirectoryW(blocker.c_str());
}

} // namespace
} // namespace portmaven::e2e
