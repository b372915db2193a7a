// TEMPORARY placeholder until the Configure dialog lands.
#include "app/win/portmaven_dlg.h"

namespace portmaven::win {
void CPortmavenDlg::OnMenuProperties() {}
} // namespace portmaven::win
