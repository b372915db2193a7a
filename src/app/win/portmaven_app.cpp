#include "app/win/portmaven_app.h"

#include "app/win/app_identity.h"
#include "app/win/portmaven_dlg.h"
#include "common/program_options.h"
#include "common/program_texts.h"
#include "framework/win/com_apartment.h"
#include "framework/win/wide_text.h"
#include "ports/win/port_list_output.h"

#include <shellapi.h>

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace portmaven::win {

namespace {

// The arguments after the program's own name.
std::vector<std::u16string> CommandLineArguments() {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&::LocalFree)> arguments(
        ::CommandLineToArgvW(::GetCommandLineW(), &count), &::LocalFree);
    std::vector<std::u16string> result;
    for (int i = 1; arguments && i < count; ++i) {
        result.push_back(ToUtf16(arguments.get()[i]));
    }
    return result;
}

} // namespace

BOOL CPortmavenApp::InitInstance() {
    const std::vector<std::u16string> arguments = CommandLineArguments();
    // The installer's own step, not for users: left out of the help text.
    if (arguments.size() >= 2 && arguments[0] == AsUtf16(kRegisterShortcutOption)) {
        const ScopedComApartment apartment;
        // The installer reads the exit code to tell the user that notices may be headed by
        // the file name.
        SetExitCode(SUCCEEDED(RegisterShortcut(ToWide(arguments[1]))) ? 0 : 1);
        return FALSE;
    }
    // "--list-ports" or "--help": the answer goes to a script or a console, and no tray icon
    // comes up.
    if (const std::optional<int> status = common::RunScriptOption(
            arguments, {.portList = PortListNow, .write = WriteScriptOutput})) {
        SetExitCode(*status);
        return FALSE;
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
