// TEMPORARY placeholder until the tray menu lands.
#include "app/win/portmaven_dlg.h"

namespace portmaven::win {
LRESULT CPortmavenDlg::OnTrayNotify(WPARAM, LPARAM) {
    return 0;
}
void CPortmavenDlg::OnMenuSelect(UINT, UINT, HMENU) {}
void CPortmavenDlg::OnDeviceManager() {}
bool CPortmavenDlg::RefreshPortList() {
    return false;
}
void CPortmavenDlg::OnLaunchCommand() {}
} // namespace portmaven::win
