// TEMPORARY placeholder until the About box lands.
#include "app/win/portmaven_dlg.h"

namespace portmaven::win {
void CPortmavenDlg::OnMenuAbout() {}
void CPortmavenDlg::OpenAboutBox() {}
} // namespace portmaven::win
