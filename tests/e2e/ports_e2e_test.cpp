// Ports and launching end to end: ports registered in the prefix, the real tray menu driven by
// the keyboard, and a recorder standing in for the terminal program that the command starts.
#include "support/win/fake_serial_port.h"
#include "harness.h"
#include "recorder_copy.h"

#include "ports/port_name.h"
#include "ports/win/serial_port_enum.h"
#include "tray/menu_ids.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace portmaven::e2e {
namespace {

constexpr wchar_t kTeraTermFolder[] = L"C:\\Program Files\\TTERMPRO";
constexpr wchar_t kTeraTermPath[] = L"C:\\Program Files\\TTERMPRO\\ttermpro.exe";

// The labels in menu order, as the program will find them.
std::vector<std::u16string> SerialPortLabels() {
    const std::optional<std::vector<ports::SerialPort>> ports = win::EnumerateSerialDevices();
    EXPECT_TRUE(ports);
    std::vector<std::u16string> labels;
    for (const ports::SerialPort& port : ports.value_or(std::vector<ports::SerialPort>{})) {
        labels.push_back(port.label);
    }
    return labels;
}

class PortsE2e : public ::testing::Test {
protected:
    void SetUp() override { RemoveLeftoverFakeSerialPorts(); }
    void TearDown() override {
        ports_.clear();
        ::RemoveDirectoryW(kTeraTermFolder);
    }

    void Register(std::wstring_view portName, std::wstring_view description) {
        ports_.push_back(std::make_unique<FakeSerialPort>(portName, description));
        ASSERT_TRUE(ports_.back()->Registered()) << "cannot register a port in the prefix";
    }

    std::unique_ptr<Recorder> InstallTeraTerm() {
        ::CreateDirectoryW(L"C:\\Program Files", nullptr);
        ::CreateDirectoryW(kTeraTermFolder, nullptr);
        return std::make_unique<Recorder>(kTeraTermPath);
    }

    // With one port registered and one command that starts a recorder placed in the test's
    // folder, picks that command; gives what the recorder was started with. `commandLine` makes
    // the command from the recorder's path.
    std::optional<std::vector<std::string>>
    LaunchOnlyCommand(std::wstring_view folderName, std::wstring_view portName,
                      std::wstring_view description,
                      const std::function<std::u16string(const std::u16string&)>& commandLine) {
        TestFolder folder(folderName);
        Recorder tool(folder.File(L"tool.exe"));
        EXPECT_TRUE(tool.Installed());
        Register(portName, description);
        WriteConfigFile(folder.ConfigPath(), {{u"Tool", commandLine(U16(tool.Path()))}});

        PortmavenProcess app(folder);
        if (!app.WaitForHost()) {
            ADD_FAILURE() << "the host did not come up";
            return std::nullopt;
        }
        EXPECT_TRUE(ChooseCommand(app, 0, 0));
        return tool.Arguments();
    }

    std::vector<std::unique_ptr<FakeSerialPort>> ports_;
};

TEST_F(PortsE2e, DefaultCommandUnderTheSecondPortStartsTeraTermOnThatPort) {
    const auto teraTerm = InstallTeraTerm();
    ASSERT_TRUE(teraTerm->Installed());
    Register(L"COM3", L"First Adapter");
    Register(L"COM17", L"Second Adapter");
    const std::vector<std::u16string> labels = SerialPortLabels();
    ASSERT_EQ(labels.size(), 2u);
    const std::optional<std::u16string> secondPort = ports::PortTextFromLabel(labels[1]);
    ASSERT_TRUE(secondPort);

    TestFolder folder(L"ports-default"); // no command file: the default "Connect" command
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    ASSERT_TRUE(ChooseCommand(app, 1, 0));

    const auto arguments = teraTerm->Arguments();
    ASSERT_TRUE(arguments) << "the terminal program was not started";
    const std::string expected = "/C=" + std::string(secondPort->begin(), secondPort->end());
    EXPECT_EQ(*arguments, std::vector<std::string>{expected});
}

TEST_F(PortsE2e, QuotedCommandWithSeveralArgumentsArrivesIntact) {
    const auto arguments =
        LaunchOnlyCommand(L"ports-quoted", L"COM6", L"USB Serial Port", [](const auto& tool) {
            return u"\"" + tool + u"\" -serial COM%PORTNUM% -sercfg 115200,8,n,1,N";
        });
    ASSERT_TRUE(arguments);
    EXPECT_EQ(*arguments,
              (std::vector<std::string>{"-serial", "COM6", "-sercfg", "115200,8,n,1,N"}));
}

TEST_F(PortsE2e, UnquotedProgramWithSeveralArgumentsIsFoundOnDisk) {
    const auto arguments =
        LaunchOnlyCommand(L"ports-unquoted", L"COM2", L"Modem",
                          [](const auto& tool) { return tool + u" -p %PORTNUM% -b 9600"; });
    ASSERT_TRUE(arguments);
    EXPECT_EQ(*arguments, (std::vector<std::string>{"-p", "2", "-b", "9600"}));
}

TEST_F(PortsE2e, DescriptionContainingComCannotInjectText) {
    const auto arguments =
        LaunchOnlyCommand(L"ports-inject", L"COM6", L"Evil (COM1 injected (COM4) adapter",
                          [](const auto& tool) { return tool + u" /C=%PORTNUM%"; });
    ASSERT_TRUE(arguments);
    EXPECT_EQ(*arguments, std::vector<std::string>{"/C=6"});
}

TEST_F(PortsE2e, EleventhCommandLaunches) {
    TestFolder folder(L"ports-eleventh");
    Recorder tool(folder.File(L"tool.exe"));
    ASSERT_TRUE(tool.Installed());
    Register(L"COM9", L"Adapter");
    std::vector<CommandText> commands;
    for (int i = 1; i <= 11; ++i) {
        const std::wstring n = std::to_wstring(i);
        commands.push_back(
            {u"Command " + U16(n), U16(tool.Path()) + u" /C=%PORTNUM% /N=" + U16(n)});
    }
    WriteConfigFile(folder.ConfigPath(), commands);

    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    ASSERT_TRUE(ChooseCommand(app, 0, 10));

    const auto arguments = tool.Arguments();
    ASSERT_TRUE(arguments) << "the eleventh command was not launched";
    EXPECT_EQ(*arguments, (std::vector<std::string>{"/C=9", "/N=11"}));
}

TEST_F(PortsE2e, MissingProgramShowsInvalidCommandToExecute) {
    TestFolder folder(L"ports-missing");
    Register(L"COM5", L"Adapter");
    WriteConfigFile(folder.ConfigPath(),
                    {{u"Gone", u"C:\\no\\such\\folder\\term.exe /C=%PORTNUM%"}});

    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    ASSERT_TRUE(ChooseCommand(app, 0, 0));

    // The shell may report the missing file in a box of its own first; dismiss it.
    HWND ours = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND window : app.VisibleWindows()) {
                if (MessageBoxText(window) == L"Invalid command to execute") {
                    ours = window;
                    return true;
                }
                if (ClassName(window) == L"#32770") {
                    ::PostMessageW(window, WM_COMMAND, IDOK, 0);
                }
            }
            return false;
        },
        15000))
        << "no \"Invalid command to execute\" box";
    EXPECT_EQ(WindowText(ours), L"Portmaven");
    ::PostMessageW(ours, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(ours); }, 5000));
    EXPECT_FALSE(app.HasExited());
}

TEST_F(PortsE2e, CommandBeforeAnyHighlightLaunchesNothing) {
    TestFolder folder(L"ports-unselected");
    Recorder tool(folder.File(L"tool.exe"));
    ASSERT_TRUE(tool.Installed());
    Register(L"COM8", L"Adapter");
    WriteConfigFile(folder.ConfigPath(), {{u"Tool", U16(tool.Path()) + u" /C=%PORTNUM%"}});

    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    // The first command's id with no port ever highlighted: there is no port to launch it on.
    app.PostCommand(tray::kFirstCommandId);
    EXPECT_FALSE(tool.Arguments(2000)) << "a command ran without a chosen port";
    EXPECT_TRUE(app.VisibleWindows().empty()) << "a message box appeared";
    EXPECT_FALSE(app.HasExited());

    // The same command chosen in the menu does run.
    ASSERT_TRUE(ChooseCommand(app, 0, 0));
    const auto arguments = tool.Arguments();
    ASSERT_TRUE(arguments);
    EXPECT_EQ(*arguments, std::vector<std::string>{"/C=8"});
}

TEST_F(PortsE2e, NoPortShowsNoSerialPortsAboveTheTemplateItems) {
    TestFolder folder(L"ports-none");
    ASSERT_TRUE(SerialPortLabels().empty()) << "the prefix has serial ports of its own";
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    ASSERT_TRUE(app.OpenTrayMenu(WM_LBUTTONUP));
    // The keyboard stops at "<No Serial Ports>", Device Manager, Properties, About and Exit
    // (the empty item and the separator are passed over): Exit is the fifth stop only when the
    // greyed item heads the menu; otherwise the fifth key wraps round to Device Manager.
    PressMenuKey(VK_DOWN, 5);
    PressMenuKey(VK_RETURN);
    EXPECT_TRUE(app.WaitForExit()) << "the fifth item was not Exit";
}

TEST_F(PortsE2e, DoubleClickDoesNothingByItself) {
    TestFolder folder(L"ports-double");
    Register(L"COM1", L"Adapter");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    app.PostTrayMessage(WM_LBUTTONDBLCLK);
    EXPECT_FALSE(WaitUntil(IsPopupMenuShown, 1500)) << "a double-click opened the menu";
    // The release of the button does.
    ASSERT_TRUE(app.OpenTrayMenu(WM_LBUTTONUP));
    PressMenuKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForMenuClosed());
}

} // namespace
} // namespace portmaven::e2e
