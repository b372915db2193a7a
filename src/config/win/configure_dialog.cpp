#include "config/win/configure_dialog.h"

#include "config/win/run_key.h"
#include "framework/win/dpi.h"
#include "framework/win/wide_text.h"
#include "framework/win/application.h"
#include "resource.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace portmaven::win {

namespace {

using config::ConfigureButton;
using config::ConfigureField;
using config::RowColumn;

int ButtonId(ConfigureButton button) {
    switch (button) {
    case ConfigureButton::Add:
        return IDC_BUTTON_ADD;
    case ConfigureButton::Edit:
        return IDC_BUTTON_EDIT;
    case ConfigureButton::Delete:
        return IDC_BUTTON_DELETE;
    case ConfigureButton::CancelEdit:
        return IDC_BUTTON_CANCEL_EDIT;
    }
    return 0;
}

int FieldId(ConfigureField field) {
    return field == ConfigureField::Name ? IDC_EDIT_NAME : IDC_EDIT_COMMAND;
}

void InsertColumn(HWND list, int index, const wchar_t* title, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(title);
    column.iSubItem = index;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&column));
}

// The list control copies the text; the pointer only has to live for the call.
void SetListItemText(HWND list, int row, int column, const std::wstring& text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
}

bool IsChecked(HWND box) {
    return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND box, bool checked) {
    ::SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace

const MessageMapEntry<CConfigureDlg> CConfigureDlg::messageMap[] = {
    OnCommand<&CConfigureDlg::OnBnClickedAdd>(IDC_BUTTON_ADD),
    OnCommand<&CConfigureDlg::OnBnClickedDelete>(IDC_BUTTON_DELETE),
    OnCommand<&CConfigureDlg::OnBnClickedEdit>(IDC_BUTTON_EDIT),
    // Close, and the Enter key from any field. IDCANCEL (Escape, the close box) is left to
    // the default handling, which discards everything.
    OnCommand<&CConfigureDlg::OnBnClickedClose>(IDOK),
    OnCommand<&CConfigureDlg::OnBnClickedCancelEdit>(IDC_BUTTON_CANCEL_EDIT),
    OnNotify<&CConfigureDlg::OnLvnItemchangedCommandList>(IDC_COMMAND_LIST, LVN_ITEMCHANGED),
};

CConfigureDlg::CConfigureDlg(config::CommandList& commands, config::RunKey& runKey,
                             config::CommandListSaver& saver, config::NotifySetting& notifySetting,
                             HWND parent) noexcept
    : Dialog(IDD_CONFIGURE, parent), m_presenter(*this, commands, runKey, saver, notifySetting) {}

MessageResult CConfigureDlg::HandleMessage(const WindowMessage& msg) {
    return DispatchMessageMap<CConfigureDlg>(messageMap, *this, msg);
}

BOOL CConfigureDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    m_listCommands = GetDlgItem(IDC_COMMAND_LIST);
    m_editName = GetDlgItem(IDC_EDIT_NAME);
    m_editCommand = GetDlgItem(IDC_EDIT_COMMAND);
    m_chkLaunchOnStartup = GetDlgItem(IDC_CHECK_LAUNCH_ON_STARTUP);
    m_chkNotifyPortChanges = GetDlgItem(IDC_CHECK_NOTIFY_PORT_CHANGES);

    ::SendMessageW(m_listCommands, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    // The widths are pixels at 96 DPI.
    InsertColumn(m_listCommands, 0, ToWide(config::kNameColumnTitle).c_str(),
                 ScaleForDpi(config::kNameColumnWidth, Dpi()));
    InsertColumn(m_listCommands, 1, ToWide(config::kCommandColumnTitle).c_str(),
                 ScaleForDpi(config::kCommandColumnWidth, Dpi()));
    ::SendMessageW(m_editName, EM_LIMITTEXT, config::kNameFieldLimit, 0);
    ::SendMessageW(m_editCommand, EM_LIMITTEXT, config::kCommandFieldLimit, 0);

    m_presenter.OnInitDialog();
    // The presenter has put the focus in the name field.
    return FALSE;
}

void CConfigureDlg::OnDpiChanged(UINT oldDpi, UINT newDpi) {
    // The columns keep their share of the list, widths the user set included.
    for (int column = 0; column < 2; ++column) {
        const auto width =
            static_cast<int>(::SendMessageW(m_listCommands, LVM_GETCOLUMNWIDTH, column, 0));
        ::SendMessageW(m_listCommands, LVM_SETCOLUMNWIDTH, column,
                       ScaleForDpi(width, newDpi, oldDpi));
    }
}

void CConfigureDlg::OnBnClickedAdd() {
    m_presenter.OnBnClickedAdd();
}

void CConfigureDlg::OnBnClickedEdit() {
    m_presenter.OnBnClickedEdit();
}

void CConfigureDlg::OnBnClickedDelete() {
    m_presenter.OnBnClickedDelete();
}

void CConfigureDlg::OnBnClickedCancelEdit() {
    m_presenter.OnBnClickedCancelEdit();
}

void CConfigureDlg::OnLvnItemchangedCommandList() {
    m_presenter.OnLvnItemchangedCommandList();
}

void CConfigureDlg::OnBnClickedClose() {
    m_presenter.OnBnClickedClose();
    OnOK();
}

std::u16string CConfigureDlg::ButtonCaption(ConfigureButton button) const {
    return ToUtf16(GetItemText(ButtonId(button)));
}

void CConfigureDlg::SetButtonCaption(ConfigureButton button, std::u16string_view caption) {
    SetItemText(ButtonId(button), ToWide(caption));
}

void CConfigureDlg::EnableButton(ConfigureButton button, bool enabled) {
    ::EnableWindow(GetDlgItem(ButtonId(button)), enabled ? TRUE : FALSE);
}

void CConfigureDlg::ShowButton(ConfigureButton button, bool shown) {
    ::ShowWindow(GetDlgItem(ButtonId(button)), shown ? SW_SHOW : SW_HIDE);
}

std::u16string CConfigureDlg::FieldText(ConfigureField field) const {
    return ToUtf16(GetItemText(FieldId(field)));
}

void CConfigureDlg::SetFieldText(ConfigureField field, std::u16string_view text) {
    SetItemText(FieldId(field), ToWide(text));
}

void CConfigureDlg::FocusField(ConfigureField field) {
    ::SetFocus(GetDlgItem(FieldId(field)));
}

int CConfigureDlg::RowCount() const {
    return static_cast<int>(::SendMessageW(m_listCommands, LVM_GETITEMCOUNT, 0, 0));
}

void CConfigureDlg::AppendRow(const config::tag_ST_PORTMAVEN_CONFIG& record) {
    const std::wstring name = ToWide(config::FieldText(record.szName));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = RowCount();
    item.pszText = const_cast<wchar_t*>(name.c_str());
    const int index = static_cast<int>(
        ::SendMessageW(m_listCommands, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) {
        return;
    }
    SetListItemText(m_listCommands, index, 1, ToWide(config::FieldText(record.szCommand)));
}

std::u16string CConfigureDlg::RowText(int row, RowColumn column) const {
    // The control copies at most the buffer's size and does not tell the full length: grow
    // until the text comes back shorter than the buffer.
    std::vector<wchar_t> buffer(config::kCommandUnits);
    for (;;) {
        LVITEMW item{};
        item.iSubItem = static_cast<int>(column);
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto length = static_cast<size_t>(::SendMessageW(m_listCommands, LVM_GETITEMTEXTW,
                                                               static_cast<WPARAM>(row),
                                                               reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < buffer.size()) {
            return {AsUtf16(buffer.data()), length};
        }
        buffer.resize(buffer.size() * 2);
    }
}

void CConfigureDlg::SetRowText(int row, RowColumn column, std::u16string_view text) {
    SetListItemText(m_listCommands, row, static_cast<int>(column), ToWide(text));
}

void CConfigureDlg::DeleteRow(int row) {
    ::SendMessageW(m_listCommands, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

int CConfigureDlg::FirstSelectedRow() const {
    return static_cast<int>(
        ::SendMessageW(m_listCommands, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool CConfigureDlg::IsLaunchOnStartupChecked() const {
    return IsChecked(m_chkLaunchOnStartup);
}

void CConfigureDlg::SetLaunchOnStartupChecked(bool checked) {
    SetChecked(m_chkLaunchOnStartup, checked);
}

bool CConfigureDlg::IsNotifyPortChangesChecked() const {
    return IsChecked(m_chkNotifyPortChanges);
}

void CConfigureDlg::SetNotifyPortChangesChecked(bool checked) {
    SetChecked(m_chkNotifyPortChanges, checked);
}

void CConfigureDlg::ShowStopMessage(std::u16string_view text) {
    AppMessageBox(ToWide(text), MB_OK | MB_ICONHAND);
}

bool CConfigureDlg::AskYesNo(std::u16string_view text, std::u16string_view caption) {
    const std::wstring message = ToWide(text);
    const std::wstring title = ToWide(caption);
    return ::MessageBoxW(GetSafeHwnd(), message.c_str(), title.c_str(),
                         MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void RunConfigureDialog(HWND owner, config::CommandList& commands, config::CommandListSaver& saver,
                        config::NotifySetting& notifySetting) {
    RegistryRunKey runKey;
    CConfigureDlg dialog(commands, runKey, saver, notifySetting, owner);
    // Whatever Close committed is already in the list and the file; nothing else to do.
    dialog.DoModal();
}

} // namespace portmaven::win
