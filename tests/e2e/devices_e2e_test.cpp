// A port's own entries end to end: the real program copies its name, renames and hides its
// device through the real menu and dialog, and "--list-ports" tells a script what it shows.
// Each board its own: Port Settings through the real dialog, the board's words in a command
// line, and what its arrival starts, with a recorder standing in for the terminal.
#include "support/win/fake_serial_port.h"
#include "support/win/wait.h"
#include "harness.h"
#include "recorder_copy.h"
#include "tray_notices.h"

#include "framework/win/scoped_handle.h"
#include "ports/win/device_store.h"
#include "resource.h"
#include "tray/menu_ids.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace portmaven::e2e {
namespace {

namespace test_support = win::test_support;
using win::test_support::WaitUntil;

const FakeDevice kFtdiBoard{.instanceId = L"FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000",
                            .hardwareIds = {L"FTDIBUS\\COMPORT&VID_0403&PID_6001"},
                            .manufacturer = L"FTDI"};

// "Portmaven.exe --list-ports > ports.txt", as a script runs it: what it wrote, as bytes, and
// its exit status. `exePath`: a copy of the program to run instead of the folder's.
std::optional<std::string> ListPorts(const TestFolder& folder, DWORD* status = nullptr,
                                     const std::wstring& exePath = {}) {
    const std::wstring path = folder.File(L"ports.txt");
    SECURITY_ATTRIBUTES inheritable{.nLength = sizeof(SECURITY_ATTRIBUTES),
                                    .lpSecurityDescriptor = nullptr,
                                    .bInheritHandle = TRUE};
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                      CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot create the output file: " << ::GetLastError();
        return std::nullopt;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file;
    startup.hStdError = file;
    std::wstring commandLine =
        L"\"" + (exePath.empty() ? folder.ExePath() : exePath) + L"\" --list-ports";
    PROCESS_INFORMATION info{};
    const bool started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                          nullptr, nullptr, &startup, &info) != FALSE;
    ::CloseHandle(file);
    if (!started) {
        ADD_FAILURE() << "--list-ports did not start: " << ::GetLastError();
        return std::nullopt;
    }
    ::CloseHandle(info.hThread);
    const bool ended = ::WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0;
    DWORD exitCode = STILL_ACTIVE;
    ::GetExitCodeProcess(info.hProcess, &exitCode);
    ::CloseHandle(info.hProcess);
    if (status != nullptr) {
        *status = exitCode;
    }
    return ended ? ReadFileBytes(path) : std::nullopt;
}

std::optional<std::wstring> ClipboardText() {
    if (!::OpenClipboard(nullptr)) {
        return std::nullopt;
    }
    std::optional<std::wstring> text;
    if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = chars;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

void EmptyTheClipboard() {
    if (::OpenClipboard(nullptr)) {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
}

// Opens the first port's submenu and picks the item `fromEnd` places above its end (1: Hide
// Port, 2: Port Settings, 3: Copy Port Name): the port's own items are the submenu's last.
bool ChoosePortItem(const PortmavenProcess& app, int fromEnd) {
    if (!app.OpenTrayMenu(WM_RBUTTONUP)) {
        return false;
    }
    PressMenuKey(VK_DOWN);
    PressMenuKey(VK_RIGHT); // opens the port's submenu on its first command
    PressMenuKey(VK_UP, fromEnd);
    PressMenuKey(VK_RETURN);
    return WaitForMenuClosed();
}

HWND FindWindowTitled(DWORD processId, std::wstring_view title) {
    for (const HWND window : TopLevelWindows(processId, true)) {
        if (WindowText(window) == title) {
            return window;
        }
    }
    return nullptr;
}

// Opens the port's Port Settings through the menu; the dialog, or nullptr when none came.
HWND OpenPortSettings(const PortmavenProcess& app) {
    HWND dialog = nullptr;
    if (ChoosePortItem(app, 2)) {
        WaitUntil([&] {
            dialog = FindWindowTitled(app.ProcessId(), L"Port Settings");
            return dialog != nullptr;
        });
    }
    return dialog;
}

class DevicesE2e : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveLeftoverFakeSerialPorts();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, win::kDevicesKeyPath);
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, win::kDevicesKeyPath); }
};

TEST_F(DevicesE2e, CopyRenameAndHideThroughTheMenuAndTheListFollowsTheBoard) {
    FakeSerialPort board(L"COM3", L"USB Serial Port", kFtdiBoard);
    ASSERT_TRUE(board.Registered()) << "cannot register a port in the prefix";
    TestFolder folder(L"devices");

    // Without a running copy, and with one: the same list, and no second tray program.
    const std::string plain = "COM3\tUSB Serial Port (COM3)\t0403:6001\tA50285BIA\tFTDI\tshown\n";
    DWORD status = STILL_ACTIVE;
    EXPECT_EQ(ListPorts(folder, &status), plain);
    EXPECT_EQ(status, 0u);
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    EXPECT_EQ(ListPorts(folder), plain);
    EXPECT_FALSE(app.HasExited());

    EmptyTheClipboard();
    ASSERT_TRUE(ChoosePortItem(app, 3));
    EXPECT_TRUE(WaitUntil([] { return ClipboardText() == L"COM3"; }))
        << "the clipboard holds no \"COM3\"";

    HWND dialog = OpenPortSettings(app);
    ASSERT_NE(dialog, nullptr) << "no Port Settings dialog";
    ::SetForegroundWindow(dialog);
    TypeText(L"Pico probe \u00e9");
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); })) << "Enter did not close it";
    EXPECT_EQ(ListPorts(folder),
              "COM3\tPico probe \xc3\xa9 (COM3)\t0403:6001\tA50285BIA\tFTDI\tshown\n");

    // Windows gives the board another number: the name stays with it.
    ASSERT_TRUE(board.SetPortName(L"COM9"));
    EXPECT_EQ(ListPorts(folder),
              "COM9\tPico probe \xc3\xa9 (COM9)\t0403:6001\tA50285BIA\tFTDI\tshown\n");

    // Escape leaves the name as it was.
    dialog = OpenPortSettings(app);
    ASSERT_NE(dialog, nullptr);
    ::SetForegroundWindow(dialog);
    TypeText(L"x");
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); })) << "Escape did not close it";

    ASSERT_TRUE(ChoosePortItem(app, 1));
    EXPECT_EQ(ListPorts(folder),
              "COM9\tPico probe \xc3\xa9 (COM9)\t0403:6001\tA50285BIA\tFTDI\thidden\n");

    // The menu now lists no port, and the hidden one under "Hidden Ports", the fifth stop from
    // its end (Exit, About, Properties, Device Manager; the keyboard passes over the separator
    // and the blank item); choosing it shows it.
    ASSERT_TRUE(app.OpenTrayMenu(WM_RBUTTONUP));
    PressMenuKey(VK_UP, 5);
    PressMenuKey(VK_RIGHT);
    PressMenuKey(VK_RETURN);
    ASSERT_TRUE(WaitForMenuClosed());
    EXPECT_EQ(ListPorts(folder),
              "COM9\tPico probe \xc3\xa9 (COM9)\t0403:6001\tA50285BIA\tFTDI\tshown\n");
}

TEST_F(DevicesE2e, APortListThatCannotBeMadeFailsTheScript) {
    TestFolder folder(L"list-fails");
    // Without the device-setup library there is no knowing which ports are present. Wine
    // keeps it from a program of this name alone.
    constexpr wchar_t kName[] = L"PortmavenWithoutSetupApi.exe";
    const std::wstring exePath = folder.File(kName);
    ASSERT_TRUE(::CopyFileW(folder.ExePath().c_str(), exePath.c_str(), FALSE));
    const std::wstring overrides = std::wstring(L"Software\\Wine\\AppDefaults\\") + kName;
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, (overrides + L"\\DllOverrides").c_str(),
                                L"setupapi", REG_SZ, L"", sizeof(wchar_t)),
              ERROR_SUCCESS);
    DWORD status = 0;
    const std::optional<std::string> written = ListPorts(folder, &status, exePath);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, overrides.c_str());
    EXPECT_EQ(written, "");
    EXPECT_NE(status, 0u) << "the script was told the ports were listed";
}

// While a dialog of the program is open, a click on the tray icon brings that dialog forward
// and opens no menu: nothing chosen there could act inside the dialog's loop, on the ports or
// commands the dialog works on.
TEST_F(DevicesE2e, ATrayClickWhileADialogIsOpenBringsTheDialogForward) {
    FakeSerialPort board(L"COM3", L"USB Serial Port", kFtdiBoard);
    ASSERT_TRUE(board.Registered()) << "cannot register a port in the prefix";
    TestFolder folder(L"dialog-front");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());

    // A window of the test's own has the foreground when the icon is clicked.
    const win::ScopedWindow elsewhere(
        ::CreateWindowExW(0, L"STATIC", L"elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                          100, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(elsewhere);
    const auto clickBringsForward = [&](HWND dialog) {
        ::SetForegroundWindow(elsewhere.Get());
        if (!test_support::PumpUntil([&] { return ::GetForegroundWindow() == elsewhere.Get(); },
                                     5000)) {
            ADD_FAILURE() << "the test's window did not take the foreground";
            return false;
        }
        app.PostTrayMessage(WM_RBUTTONUP);
        return test_support::PumpUntil([&] { return ::GetForegroundWindow() == dialog; }, 10000) &&
               !IsPopupMenuShown();
    };

    HWND rename = OpenPortSettings(app);
    ASSERT_NE(rename, nullptr) << "no Port Settings dialog";
    ASSERT_TRUE(clickBringsForward(rename)) << "the click did not bring Port Settings forward";
    // The name still goes to the port the dialog was opened for.
    TypeText(L"Probe");
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(rename); })) << "Enter did not close it";
    EXPECT_EQ(ListPorts(folder), "COM3\tProbe (COM3)\t0403:6001\tA50285BIA\tFTDI\tshown\n");

    app.PostCommand(tray::kPropertiesId);
    const HWND configure = app.WaitForWindow(L"Configure");
    ASSERT_NE(configure, nullptr);
    ASSERT_TRUE(clickBringsForward(configure)) << "the click did not bring Configure forward";
    ::PostMessageW(configure, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(configure); }));
    EXPECT_FALSE(app.HasExited());
}

// The user's value for a device or a kind, as the program stored it.
std::optional<std::u16string> Stored(std::u16string_view valueName) {
    win::RegistryDeviceStore store;
    return store.Read(valueName);
}

TEST_F(DevicesE2e, PortSettingsThenWhatTheBoardStartsFromTheMenuOnArrivalAndFromItsNotice) {
    TestFolder folder(L"devices-arrival");
    Recorder tool(folder.File(L"tool.exe"));
    ASSERT_TRUE(tool.Installed());
    WriteConfigFile(
        folder.ConfigPath(),
        {{u"Other", u"cmd.exe"},
         {u"Record", u"\"" + U16(tool.Path()) + u"\" %PORT% %BAUD% %SERIAL% %VID%:%PID%"}});
    auto board = std::make_unique<FakeSerialPort>(L"COM3", L"USB Serial Port", kFtdiBoard);
    ASSERT_TRUE(board->Registered()) << "cannot register a port in the prefix";
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());

    // Name, speed, default command, on arrival, for every such board; Enter is OK. The speed
    // field's text goes whether or not the Tab selected it.
    HWND dialog = OpenPortSettings(app);
    ASSERT_NE(dialog, nullptr) << "no Port Settings dialog";
    ::SetForegroundWindow(dialog);
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_PORT_HEADING)),
              L"USB Serial Port (COM3) \u00b7 0403:6001 \u00b7 FTDI \u00b7 SN A50285BIA");
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_PORT_RUN_ON_ARRIVAL)));
    TypeText(L"Probe");
    for (const WORD key : {VK_TAB, VK_END}) {
        PressKey(key);
    }
    PressKey(VK_BACK, 7);
    TypeText(L"12x");
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_PORT_SPEED)), L"12") << "a letter in a speed";
    PressKey(VK_RETURN);
    EXPECT_TRUE(::IsWindow(dialog)) << "a speed out of range closed the dialog";
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_PORT_SPEED_PROBLEM)),
              L"Must be from 50 to 4000000");
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dialog, IDC_PORT_SPEED_PROBLEM)));
    // The refused speed keeps the focus, selected: typing replaces it.
    TypeText(L"9600");
    for (const WORD key :
         {VK_TAB, VK_DOWN, VK_DOWN, VK_TAB, VK_SPACE, VK_TAB, VK_SPACE, VK_RETURN}) {
        PressKey(key);
    }
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); })) << "Enter did not close it";
    EXPECT_EQ(Stored(u"usb:0403:6001|baud"), u"9600");
    EXPECT_EQ(Stored(u"usb:0403:6001|command"), u"Record");
    EXPECT_EQ(Stored(u"usb:0403:6001|run"), u"1");
    EXPECT_EQ(Stored(u"usb:0403:6001:A50285BIA|name"), u"Probe");

    // Chosen in the menu, the command gets the board's speed, serial number and ids.
    ASSERT_TRUE(ChooseCommand(app, 0, 1));
    EXPECT_EQ(tool.Arguments(),
              (std::vector<std::string>{"COM3", "9600", "A50285BIA", "0403:6001"}));

    // From now on the recorder stays, as a terminal left open does. The tooltip names the
    // board once its arrival has started what it starts.
    // Released on every way out, so that no recorder outlives a test that failed.
    const auto release = [](HANDLE event) {
        ::SetEvent(event);
        ::CloseHandle(event);
    };
    const std::unique_ptr<void, decltype(release)> hold(
        ::CreateEventW(nullptr, TRUE, FALSE, kRecorderHoldEvent), release);
    ASSERT_TRUE(hold);
    const auto replug = [&] {
        board.reset();
        ASSERT_TRUE(SendPortRemoval(app.Host(), L"COM3"));
        ASSERT_TRUE(WaitUntil([] { return TrayTooltipsNaming(L"COM3", false).empty(); }));
        board = std::make_unique<FakeSerialPort>(L"COM3", L"USB Serial Port", kFtdiBoard);
        ASSERT_TRUE(board->Registered());
        ASSERT_TRUE(SendPortArrival(app.Host(), L"COM3"));
        ASSERT_TRUE(
            WaitUntil([] { return !TrayTooltipsNaming(L"Portmaven: COM3", false).empty(); }));
    };
    replug();
    EXPECT_TRUE(WaitUntil([&] { return tool.Running() == 1; })) << "the arrival started nothing";
    // The board resets while its terminal is open: no second one.
    replug();
    EXPECT_EQ(tool.Running(), 1) << "a second terminal for a board whose first runs";

    // A click on the notice about it runs its command all the same: the user asked.
    app.PostTrayMessage(NIN_BALLOONUSERCLICK);
    EXPECT_TRUE(WaitUntil([&] { return tool.Running() == 2; })) << "the click ran nothing";
    EXPECT_FALSE(IsPopupMenuShown()) << "the click opened the menu as well";

    // Once the terminals are closed, the board's next arrival starts one again.
    ::SetEvent(hold.get());
    ASSERT_TRUE(WaitUntil([&] { return tool.Running() == 0; }));
    ::DeleteFileW((tool.Path() + L".txt").c_str());
    replug();
    EXPECT_EQ(tool.Arguments(),
              (std::vector<std::string>{"COM3", "9600", "A50285BIA", "0403:6001"}));
}

} // namespace
} // namespace portmaven::e2e
