// The host's entries to the About box: the tray menu's "About Portmaven" and the system menu.
#include "about/win/about_dlg.h"
#include "app/win/portmaven_dlg.h"

namespace portmaven::win {

void CPortmavenDlg::OnMenuAbout() {
    try {
        OpenAboutBox();
    } catch (...) {
        // Nothing to tell the user; the program carries on.
    }
}

void CPortmavenDlg::OpenAboutBox() {
    // A new box each time: the link starts unvisited at every opening.
    CAboutDlg about;
    about.DoModal();
}

} // namespace portmaven::win
