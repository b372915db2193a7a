#include "app/win/portmaven_app.h"

#include "app/win/app_identity.h"
#include "app/win/portmaven_dlg.h"
#include "common/program_texts.h"
#include "framework/win/com_apartment.h"
#include "framework/win/wide_text.h"
#include "ports/win/port_list_output.h"

#include <shellapi.h>

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string_view>

namespace portmaven::win {

namespace {

// "--list-ports" or "--help": the answer goes to a script or a console, and no tray icon comes
// up. nullopt for a start as the tray program.
std::optional<BOOL> RunCommandLineOption() {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&::LocalFree)> arguments(
        ::CommandLineToArgvW(::GetCommandLineW(), &count), &::LocalFree);
    if (!arguments || count < 2) {
        return std::nullopt;
    }
    const std::wstring_view option = arguments.get()[1];
    if (option == L"--list-ports") {
        WritePortList();
        return FALSE;
    }
    if (option == L"--help") {
        WriteScriptOutput(common::kCommandLineHelpText);
        return FALSE;
    }
    // The installer's own step, not for users: left out of the help text.
    if (option == kRegisterShortcutOption && count >= 3) {
        const ScopedComApartment apartment;
        RegisterShortcut(arguments.get()[2]);
        return FALSE;
    }
    return std::nullopt;
}

} // namespace

BOOL CPortmavenApp::InitInstance() {
    if (const std::optional<BOOL> handled = RunCommandLineOption()) {
        return *handled;
    }
    // Before the first window, so that the shell files every window and notice under it.
    TakeAppIdentity();
    INITCOMMONCONTROLSEX controls{.dwSize = sizeof(INITCOMMONCONTROLSEX),
                                  .dwICC = ICC_WIN95_CLASSES};
    // Failure leaves the classes of comctl32's own start-up, which the dialogs still find.
    ::InitCommonControlsEx(&controls);

    // The event is never signalled or waited on: the existence of the name is the protocol.
    m_hInstanceEvent.Reset(::CreateEventW(nullptr, TRUE, TRUE, kInstanceEventName));
    if (!m_hInstanceEvent) {
        return FALSE;
    }
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        m_hInstanceEvent.Reset();
        ::MessageBoxW(nullptr, ToWide(common::kAlreadyRunningText).c_str(),
                      ToWide(common::kAlreadyRunningCaption).c_str(), MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }

    // Before anything can reach ShellExecuteExW: the handler of a command's file may be a COM
    // object, and the shell expects the calling thread to be in an apartment.
    const ScopedComApartment apartment;
    CPortmavenDlg host;
    SetMainWindow(&host);
    host.DoModal();
    SetMainWindow(nullptr);
    return FALSE;
}

} // namespace portmaven::win
