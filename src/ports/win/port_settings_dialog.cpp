#include "ports/win/port_settings_dialog.h"

#include "common/text.h"
#include "framework/win/wide_text.h"
#include "ports/ports_texts.h"
#include "resource.h"

#include <commctrl.h>

#include <string>
#include <utility>

namespace portmaven::win {

namespace {

bool IsChecked(HWND box) {
    return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The edit box inside a drop-down combo box.
HWND ComboEdit(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    return ::GetComboBoxInfo(combo, &info) ? info.hwndItem : nullptr;
}

void AddComboItem(HWND combo, std::u16string_view text) {
    const std::wstring item = ToWide(text);
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

} // namespace

const MessageMapEntry<CPortSettingsDlg> CPortSettingsDlg::messageMap[] = {
    OnControlCommand<&CPortSettingsDlg::OnCommandChanged>(IDC_PORT_COMMAND, CBN_SELCHANGE),
    OnControlCommand<&CPortSettingsDlg::OnSpeedChanged>(IDC_PORT_SPEED, CBN_EDITCHANGE),
    OnControlCommand<&CPortSettingsDlg::OnSpeedChanged>(IDC_PORT_SPEED, CBN_SELCHANGE),
};

CPortSettingsDlg::CPortSettingsDlg(ports::DeviceSettingsStore& store, ports::SerialPort port,
                                   std::vector<std::u16string> commandNames, std::u16string heading,
                                   HWND owner) noexcept
    : Dialog(IDD_PORT_SETTINGS, owner),
      presenter_(*this, store, std::move(port), std::move(commandNames), std::move(heading)) {}

MessageResult CPortSettingsDlg::HandleMessage(const WindowMessage& msg) {
    return DispatchMessageMap<CPortSettingsDlg>(messageMap, *this, msg);
}

BOOL CPortSettingsDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    ::SetWindowTextW(GetSafeHwnd(), AsWide(ports::kPortSettingsTitle));
    // Counted in UTF-16 units, never more than the characters a name may have: nothing typed
    // is refused afterwards.
    ::SendDlgItemMessageW(GetSafeHwnd(), IDC_PORT_NAME, EM_LIMITTEXT, ports::kMaxDeviceNameLength,
                          0);
    const HWND speed = GetDlgItem(IDC_PORT_SPEED);
    // Seven digits reach the highest speed; the edit box takes no other character.
    ::SendMessageW(speed, CB_LIMITTEXT, 7, 0);
    if (const HWND speedEdit = ComboEdit(speed)) {
        ::SetWindowLongPtrW(speedEdit, GWL_STYLE,
                            ::GetWindowLongPtrW(speedEdit, GWL_STYLE) | ES_NUMBER);
    }
    for (const unsigned baud : ports::kStandardBauds) {
        AddComboItem(speed, common::DecimalText(baud));
    }
    presenter_.OnInitDialog();
    const HWND name = GetDlgItem(IDC_PORT_NAME);
    ::SendMessageW(name, EM_SETSEL, 0, -1);
    ::SetFocus(name);
    // The focus is set.
    return FALSE;
}

void CPortSettingsDlg::ShowForm(const ports::PortSettingsForm& form) {
    SetItemText(IDC_PORT_HEADING, ToWide(form.heading));
    SetItemText(IDC_PORT_NAME, ToWide(form.name));
    // Shown also while the empty box has the focus, as it has when the dialog opens.
    const std::wstring cue = ToWide(form.nameCue);
    ::SendDlgItemMessageW(GetSafeHwnd(), IDC_PORT_NAME, EM_SETCUEBANNER, TRUE,
                          reinterpret_cast<LPARAM>(cue.c_str()));
    SetItemText(IDC_PORT_SPEED, ToWide(form.speed));
    const HWND command = GetDlgItem(IDC_PORT_COMMAND);
    ::SendMessageW(command, CB_RESETCONTENT, 0, 0);
    for (const std::u16string& text : form.commands) {
        AddComboItem(command, text);
    }
    ::SendMessageW(command, CB_SETCURSEL, static_cast<WPARAM>(form.command), 0);
    SetRunOnArrival(form.runOnArrival, form.runOnArrivalEnabled);
    const HWND forKind = GetDlgItem(IDC_PORT_FOR_KIND);
    if (form.forKindText) {
        SetItemText(IDC_PORT_FOR_KIND, ToWide(*form.forKindText));
        ::SendMessageW(forKind, BM_SETCHECK, form.forKind ? BST_CHECKED : BST_UNCHECKED, 0);
    } else {
        // Hidden and disabled: out of the tab order too.
        ::EnableWindow(forKind, FALSE);
        ::ShowWindow(forKind, SW_HIDE);
    }
    ShowSpeedProblem(u"");
}

std::u16string CPortSettingsDlg::Name() const {
    return ToUtf16(GetItemText(IDC_PORT_NAME));
}

std::u16string CPortSettingsDlg::Speed() const {
    return ToUtf16(GetItemText(IDC_PORT_SPEED));
}

int CPortSettingsDlg::Command() const {
    return static_cast<int>(
        ::SendDlgItemMessageW(GetSafeHwnd(), IDC_PORT_COMMAND, CB_GETCURSEL, 0, 0));
}

bool CPortSettingsDlg::RunOnArrival() const {
    return IsChecked(GetDlgItem(IDC_PORT_RUN_ON_ARRIVAL));
}

bool CPortSettingsDlg::ForKind() const {
    const HWND box = GetDlgItem(IDC_PORT_FOR_KIND);
    return ::IsWindowEnabled(box) != FALSE && IsChecked(box);
}

void CPortSettingsDlg::SetRunOnArrival(bool checked, bool enabled) {
    const HWND box = GetDlgItem(IDC_PORT_RUN_ON_ARRIVAL);
    ::SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    ::EnableWindow(box, enabled ? TRUE : FALSE);
}

void CPortSettingsDlg::ShowSpeedProblem(std::u16string_view reason) {
    SetItemText(IDC_PORT_SPEED_PROBLEM, ToWide(reason));
    ::ShowWindow(GetDlgItem(IDC_PORT_SPEED_PROBLEM), reason.empty() ? SW_HIDE : SW_SHOW);
}

void CPortSettingsDlg::FocusSpeed() {
    const HWND speed = GetDlgItem(IDC_PORT_SPEED);
    // WM_NEXTDLGCTL, unlike SetFocus, also moves the default button's highlight as a dialog
    // expects.
    ::SendMessageW(GetSafeHwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(speed), TRUE);
    ::SendMessageW(speed, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void CPortSettingsDlg::OnOK() {
    if (presenter_.OnOk()) {
        Dialog::OnOK();
    }
}

void CPortSettingsDlg::OnCommandChanged() {
    presenter_.OnCommandChanged();
}

void CPortSettingsDlg::OnSpeedChanged() {
    presenter_.OnSpeedChanged();
}

bool RunPortSettingsDialog(HWND owner, ports::DeviceSettingsStore& store,
                           const ports::SerialPort& port, std::vector<std::u16string> commandNames,
                           std::u16string heading) {
    CPortSettingsDlg dialog(store, port, std::move(commandNames), std::move(heading), owner);
    return dialog.DoModal() == IDOK;
}

} // namespace portmaven::win
