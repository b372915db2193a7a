#include "ports/win/rename_port_dialog.h"

#include "framework/win/wide_text.h"
#include "ports/device_settings.h"
#include "ports/ports_texts.h"
#include "resource.h"

#include <utility>

namespace portmaven::win {

CRenamePortDlg::CRenamePortDlg(std::u16string currentName, HWND owner) noexcept
    : Dialog(IDD_RENAME_PORT, owner), currentName_(std::move(currentName)) {}

BOOL CRenamePortDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    ::SetWindowTextW(GetSafeHwnd(), AsWide(ports::kRenamePortTitle));
    // Counted in UTF-16 units, never more than the characters a name may have: nothing typed
    // is refused afterwards.
    ::SendDlgItemMessageW(GetSafeHwnd(), IDC_PORT_NAME, EM_LIMITTEXT, ports::kMaxDeviceNameLength,
                          0);
    SetItemText(IDC_PORT_NAME, ToWide(currentName_));
    const HWND edit = GetDlgItem(IDC_PORT_NAME);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SetFocus(edit);
    // The focus is set.
    return FALSE;
}

void CRenamePortDlg::OnOK() {
    result_ = ToUtf16(GetItemText(IDC_PORT_NAME));
    Dialog::OnOK();
}

std::optional<std::u16string> RunRenamePortDialog(HWND owner, const std::u16string& currentName) {
    CRenamePortDlg dialog(currentName, owner);
    if (dialog.DoModal() != IDOK) {
        return std::nullopt;
    }
    return dialog.Result();
}

} // namespace portmaven::win
