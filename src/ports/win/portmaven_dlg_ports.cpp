// The host's handlers for the tray menu, the port list and the command launch.
#include "app/win/portmaven_dlg.h"

#include "app/win/win_app.h"
#include "config/win/notify_setting_win.h"
#include "config/command_list.h"
#include "ports/menu_ids.h"
#include "ports/menu_selection.h"
#include "ports/port_name.h"
#include "ports/win/launch_win.h"
#include "ports/win/serial_port_enum_win.h"
#include "ports/win/tray_menu_win.h"

#include <cstdint>

namespace portmaven::win {

LRESULT CPortmavenDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    if (wParam != kTrayIconId) {
        return 1;
    }
    switch (lParam) {
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    // A click on a port notice: the menu shows what came.
    case NIN_BALLOONUSERCLICK:
        break;
    case WM_LBUTTONDBLCLK:
        return 0;
    default:
        return 1;
    }
    POINT cursor{};
    if (!::GetCursorPos(&cursor)) {
        return 0;
    }
    // Nothing is shown when the menu cannot be built; there is nothing the user could do.
    ShowTrayMenu(
        GetSafeHwnd(), cursor, [this] { return RefreshPortList(); }, m_portLabels,
        config::g_CommandList);
    return 0;
}

void CPortmavenDlg::OnMenuSelect(UINT item, UINT flags, HMENU) {
    const ports::MenuSelection selection =
        ports::TrackMenuSelect({.port = m_nSelectedPort, .commandId = m_nSelectedCommandId}, item,
                               flags, m_portLabels.size());
    m_nSelectedPort = selection.port;
    m_nSelectedCommandId = selection.commandId;
}

void CPortmavenDlg::OnDeviceManager() {
    // Nothing to report if the console does not open: the system has already said why.
    ::ShellExecuteW(GetSafeHwnd(), L"open", L"devmgmt.msc", nullptr, nullptr, SW_SHOWNORMAL);
}

bool CPortmavenDlg::RefreshPortList() {
    std::vector<std::uint32_t> numbers;
    std::vector<std::u16string> descriptions;
    if (!EnumerateSerialPorts(numbers, descriptions)) {
        return false;
    }
    m_portLabels = ports::MakePortLabels(numbers, descriptions);
    return true;
}

void CPortmavenDlg::StartPortNotices() {
    m_portNotices = std::make_unique<SerialPortNotices>(GetSafeHwnd(), kTrayIconId);
    ApplyNotifySetting();
}

void CPortmavenDlg::ApplyNotifySetting() {
    if (m_portNotices) {
        m_portNotices->SetNotificationsEnabled(RegistryNotifySetting().IsEnabled());
    }
}

void CPortmavenDlg::OnDeviceChange(WPARAM event, LPARAM data) {
    if (m_portNotices) {
        m_portNotices->OnDeviceChange(event, data);
    }
}

MessageResult CPortmavenDlg::OnTimer(WPARAM timerId) {
    if (m_portNotices && m_portNotices->OnTimer(timerId)) {
        return 0;
    }
    return kDefaultProcessing;
}

void CPortmavenDlg::OnLaunchCommand() {
    // The command message's own id is not looked at: all ports share one submenu, so only the
    // remembered highlights say which command was chosen under which port.
    const int index = m_nSelectedCommandId - ports::kFirstCommandId;
    if (index < 0 || index >= config::g_CommandList.GetCount()) {
        return;
    }
    const std::u16string commandLine(config::FieldText(config::g_CommandList.At(index).szCommand));
    if (m_nSelectedPort < 0 || static_cast<std::size_t>(m_nSelectedPort) >= m_portLabels.size()) {
        return;
    }
    if (!LaunchCommandForPort(commandLine,
                              m_portLabels[static_cast<std::size_t>(m_nSelectedPort)])) {
        AppMessageBox(L"Invalid command to execute", MB_OK | MB_ICONERROR);
    }
}

} // namespace portmaven::win
