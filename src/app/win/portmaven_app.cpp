#include "app/win/portmaven_app.h"

#include "app/win/portmaven_dlg.h"

#include <commctrl.h>

namespace portmaven::win {

BOOL CPortmavenApp::InitInstance() {
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
        ::MessageBoxW(nullptr, L"Portmaven already running!", L"Information",
                      MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }

    CPortmavenDlg host;
    SetMainWindow(&host);
    host.DoModal();
    SetMainWindow(nullptr);
    return FALSE;
}

} // namespace portmaven::win
