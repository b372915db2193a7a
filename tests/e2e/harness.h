// Runs the real Portmaven.exe under Wine and drives it the way the shell and a user would:
// the tray callback posted to the host window, real keyboard input through SendInput, and the
// files and windows the program leaves behind.
#pragma once

#include "support/win/build_path.h"
#include "support/win/temp_folder.h"
#include "support/win/wait.h"
#include "support/win/window_query.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace portmaven::e2e {

using win::test_support::BuildFilePath;
// Windows path of the Portmaven.exe under test.
std::wstring PortmavenExePath();

// A fresh folder in %TEMP% holding a copy of Portmaven.exe, so that "Portmaven.cfg" lands in
// it. The folder and everything in it is removed on destruction.
class TestFolder {
public:
    explicit TestFolder(std::wstring_view name);
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    TestFolder(TestFolder&&) = delete;
    TestFolder& operator=(TestFolder&&) = delete;

    [[nodiscard]] const std::wstring& Path() const { return folder_.Path(); }
    [[nodiscard]] std::wstring ExePath() const { return File(L"Portmaven.exe"); }
    [[nodiscard]] std::wstring ConfigPath() const { return File(L"Portmaven.cfg"); }
    [[nodiscard]] std::wstring File(std::wstring_view name) const { return folder_.File(name); }

private:
    win::test_support::TempFolder folder_;
};

struct CommandText {
    std::u16string name;
    std::u16string command;
    bool operator==(const CommandText&) const = default;
};

// Writes records as the program does (2560 bytes each, no header).
void WriteConfigFile(const std::wstring& path, const std::vector<CommandText>& commands);
// The records of a command file, or nullopt when the file does not exist.
std::optional<std::vector<CommandText>> ReadConfigFile(const std::wstring& path);
// Raw bytes of a file, or nullopt when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, std::string_view bytes);

using win::test_support::ClassName;
using win::test_support::FileNames;
using win::test_support::MessageBoxText;
using win::test_support::RemoveTree;
using win::test_support::TempPath;
using win::test_support::WaitUntil;
using win::test_support::WindowText;

// Starts a command line as the system starts a Run value or a shortcut and waits for it; its
// exit code, or nullopt when it could not start or did not end in time.
std::optional<DWORD> RunAndWait(const std::wstring& commandLine, DWORD timeoutMs = 60000);

// A running copy of Portmaven.exe. The destructor ends it if it still runs and waits for the
// process, so that the next test's copy does not find the single-instance event.
class PortmavenProcess {
public:
    explicit PortmavenProcess(const TestFolder& folder);
    explicit PortmavenProcess(const std::wstring& exePath);
    ~PortmavenProcess();
    PortmavenProcess(const PortmavenProcess&) = delete;
    PortmavenProcess& operator=(const PortmavenProcess&) = delete;
    PortmavenProcess(PortmavenProcess&&) = delete;
    PortmavenProcess& operator=(PortmavenProcess&&) = delete;

    [[nodiscard]] DWORD ProcessId() const { return processId_; }
    [[nodiscard]] HANDLE ProcessHandle() const { return process_; }

    // Waits until the host window has initialised (tray icon added, command file read) and
    // hidden itself; true when it has.
    bool WaitForHost(DWORD timeoutMs = 30000);
    [[nodiscard]] HWND Host() const { return host_; }

    // True while the host's icon (id 128) is in the notification area.
    [[nodiscard]] bool TrayIconPresent() const;

    // Posts the tray callback as the shell does: WM_USER + 1, wParam 128, lParam the mouse
    // message.
    void PostTrayMessage(UINT mouseMessage) const;
    // Posts the callback and waits until the popup menu is on screen.
    bool OpenTrayMenu(UINT mouseMessage = WM_RBUTTONUP, DWORD timeoutMs = 10000) const;
    // A menu command as if chosen in the tray menu.
    void PostCommand(UINT id) const;

    // A visible top-level window of this process with the caption, or null after the timeout.
    [[nodiscard]] HWND WaitForWindow(std::wstring_view caption, DWORD timeoutMs = 10000) const;
    // Every visible top-level window of this process.
    [[nodiscard]] std::vector<HWND> VisibleWindows() const;

    bool WaitForExit(DWORD timeoutMs = 15000) const;
    [[nodiscard]] bool HasExited() const;
    // Ends the process at once and waits for it.
    void Kill();

private:
    void Start(const std::wstring& exePath);

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND host_ = nullptr;
};

// The top-level windows of a process (only the visible ones when visibleOnly).
std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly);

// True while the tray icon (id 128) of that host window is in the notification area.
bool TrayIconOf(HWND host);
// Takes the icon away, as a dying shell loses every icon.
bool DeleteTrayIcon(HWND host);

// True while a popup menu is on screen.
bool IsPopupMenuShown();
// Waits until no popup menu is on screen.
bool WaitForMenuClosed(DWORD timeoutMs = 5000);

// Keys for the open popup menu, posted to the menu window: its tracking loop reads the keyboard
// messages of its thread. Under Wine, input injected with SendInput reaches the menu only
// while the hidden owner's thread holds the keyboard focus, which it does not reliably get
// once other windows have had it.
void PressMenuKey(WORD virtualKey, int times = 1);
// Opens the tray menu and picks command `command` (0-based) under port entry `port` (0-based);
// true when the menu opened and closed again.
bool ChooseCommand(const PortmavenProcess& app, int port, int command);

// Real keyboard input to whatever has the focus.
void PressKey(WORD virtualKey, int times = 1);
void TypeText(std::wstring_view text);

} // namespace portmaven::e2e
