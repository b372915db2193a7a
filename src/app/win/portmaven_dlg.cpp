#include "app/win/portmaven_dlg.h"

#include "about/win/about_dialog.h"
#include "arrival/notice_click.h"
#include "common/program_texts.h"
#include "config/win/configure_dialog.h"
#include "framework/win/application.h"
#include "framework/win/dpi.h"
#include "framework/win/wide_text.h"
#include "launch/launch_texts.h"
#include "launch/win/launch.h"
#include "ports/device_settings.h"
#include "ports/win/port_actions.h"
#include "ports/win/serial_port_enum.h"
#include "tray/menu_choice.h"
#include "tray/menu_ids.h"
#include "tray/port_details.h"
#include "tray/win/menu_highlight.h"
#include "tray/win/tray_menu.h"
#include "resource.h"

#include <shellapi.h>

#include <optional>
#include <span>
#include <string>

namespace portmaven::win {

const MessageMapEntry<CPortmavenDlg> CPortmavenDlg::messageMap[] = {
    OnMessage<&CPortmavenDlg::OnSysCommand>(WM_SYSCOMMAND),
    OnMessage<&CPortmavenDlg::OnPaint>(WM_PAINT),
    OnMessage<&CPortmavenDlg::OnQueryDragIcon>(WM_QUERYDRAGICON),
    OnMessage<&CPortmavenDlg::OnTrayNotify>(WM_TRAYNOTIFY),
    OnCommand<&CPortmavenDlg::OnMenuExit>(ID_MENU_EXIT),
    OnMessage<&CPortmavenDlg::OnClose>(WM_CLOSE),
    OnCommand<&CPortmavenDlg::OnDeviceManager>(ID_MENU_DEVICE_MANAGER),
    OnCommand<&CPortmavenDlg::OnMenuProperties>(ID_MENU_PROPERTIES),
    OnCommand<&CPortmavenDlg::OnMenuAbout>(ID_MENU_ABOUT),
    // Every command of the list is launchable, not only the first ten.
    OnCommandRange<&CPortmavenDlg::OnLaunchCommand>(tray::kFirstCommandId, tray::kLastCommandId),
    OnMessage<&CPortmavenDlg::OnMenuSelect>(WM_MENUSELECT),
    OnMessage<&CPortmavenDlg::OnInitMenuPopup>(WM_INITMENUPOPUP),
    OnMessage<&CPortmavenDlg::OnPortHolders>(WM_PORTHOLDERS),
    OnCommand<&CPortmavenDlg::OnCopyPortName>(tray::kCopyPortNameId),
    OnCommand<&CPortmavenDlg::OnPortSettings>(tray::kPortSettingsId),
    OnCommand<&CPortmavenDlg::OnHidePort>(tray::kHidePortId),
    OnCommandRange<&CPortmavenDlg::OnShowPort>(tray::kFirstShowPortId, tray::kLastShowPortId),
    OnMessage<&CPortmavenDlg::OnDeviceChange>(WM_DEVICECHANGE),
    OnMessage<&CPortmavenDlg::OnTimer>(WM_TIMER),
    OnRegisteredMessage<&CPortmavenDlg::OnTaskbarCreated>(kTaskbarCreatedMessage),
};

CPortmavenDlg::CPortmavenDlg() noexcept : Dialog(IDD_PORTMAVEN_DIALOG) {}

MessageResult CPortmavenDlg::HandleMessage(const WindowMessage& msg) {
    return DispatchMessageMap<CPortmavenDlg>(messageMap, *this, msg);
}

BOOL CPortmavenDlg::OnInitDialog() {
    // Every step runs under the dialog's guard: an exception ends initialisation at that step,
    // the steps already done stay done, and the dialog still comes up.
    Dialog::OnInitDialog();
    m_portHolders = std::make_unique<PortHolderLookup>(GetSafeHwnd(), WM_PORTHOLDERS);

    if (HMENU systemMenu = ::GetSystemMenu(GetSafeHwnd(), FALSE)) {
        wchar_t aboutText[256] = {};
        if (::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, aboutText,
                          static_cast<int>(std::size(aboutText))) > 0) {
            ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText);
        }
    }

    m_trayIcon.emplace(GetSafeHwnd(), kTrayIconId, WM_TRAYNOTIFY);
    LoadIconsForDpi();
    m_trayIcon->SetTip(common::kProgramTitle);

    if (!m_trayIcon->Add()) {
        // Without an icon nothing can reach the commands; they are loaded once the shell's
        // notification area appears (TaskbarCreated) and the icon could be added.
        return TRUE;
    }
    m_commands.LoadOnce();
    StartPortNotices();
    return TRUE;
}

void CPortmavenDlg::LoadIconsForDpi() {
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    ScopedIcon largeIcon = LoadLargeIcon(module, IDR_MAINFRAME, Dpi());
    ScopedIcon smallIcon = LoadSmallIcon(module, IDR_MAINFRAME, Dpi());
    ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon.Get()));
    ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(smallIcon.Get()));
    if (m_trayIcon) {
        m_trayIcon->SetIcon(smallIcon.Get());
    }
    // The icons shown before go only once nothing shows them any more.
    m_largeIcon = std::move(largeIcon);
    m_smallIcon = std::move(smallIcon);
}

void CPortmavenDlg::OnDpiChanged(UINT, UINT) {
    LoadIconsForDpi();
}

void CPortmavenDlg::OnTaskbarCreated() {
    if (!m_trayIcon || !m_trayIcon->Add()) {
        return;
    }
    // When the icon could not be added at start, the list was never read: the user can reach
    // it only now.
    m_commands.LoadOnce();
    if (m_portNotices) {
        m_portNotices->OnTrayIconAdded();
    } else {
        StartPortNotices();
    }
}

void CPortmavenDlg::PostNcDestroy() {
    Dialog::PostNcDestroy();
    m_portNotices.reset();
    // Deletes the icon, which the shell finds by the window handle's value although the
    // window is gone.
    m_trayIcon.reset();
}

MessageResult CPortmavenDlg::OnSysCommand(WPARAM wParam, LPARAM) {
    if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
        RunAboutBox(GetSafeHwnd());
        return 0;
    }
    return kDefaultProcessing;
}

void CPortmavenDlg::OnPaint() {
    HWND hwnd = GetSafeHwnd();
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(hwnd, &paint);
    if (::IsIconic(hwnd)) {
        ::SendMessageW(hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        RECT client{};
        ::GetClientRect(hwnd, &client);
        const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(dc, x, y, m_largeIcon.Get());
        ::EndPaint(hwnd, &paint);
        return;
    }
    ::EndPaint(hwnd, &paint);
    // The host only exists to own the tray icon: its first paint hides it for good.
    ::ShowWindow(hwnd, SW_HIDE);
}

LRESULT CPortmavenDlg::OnQueryDragIcon() const {
    return reinterpret_cast<LRESULT>(m_largeIcon.Get());
}

void CPortmavenDlg::OnMenuExit() {
    // The outcome of the save is not looked at: the user asked to leave, and leaves.
    m_commands.SaveAtExit();
    Dialog::OnOK();
}

void CPortmavenDlg::OnClose() {
    // Ends without saving, as every way out but Exit does.
    Dialog::OnCancel();
}

LRESULT CPortmavenDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    const TrayIcon::Event event =
        m_trayIcon ? m_trayIcon->Decode(wParam, lParam) : TrayIcon::Event::NotThisIcon;
    switch (event) {
    case TrayIcon::Event::Click:
    case TrayIcon::Event::BalloonClick:
        break;
    case TrayIcon::Event::DoubleClick:
        return 0;
    case TrayIcon::Event::Other:
    case TrayIcon::Event::NotThisIcon:
        return 1;
    }
    // While a dialog of the program is open the menu would run its commands inside that
    // dialog's loop, over the list the dialog works on: the dialog comes to the front instead.
    if (BringModalDialogToFront(GetSafeHwnd())) {
        return 0;
    }
    // A click on a port notice runs the arrived board's default command; without one, the menu
    // shows what came.
    if (event == TrayIcon::Event::BalloonClick && RunNoticedBoardCommand()) {
        return 0;
    }
    POINT cursor{};
    if (!::GetCursorPos(&cursor)) {
        return 0;
    }
    // Nothing is shown when the menu cannot be built; there is nothing the user could do.
    ShowTrayMenu(
        GetSafeHwnd(), cursor, [this] { return RefreshPortList(); }, m_ports, m_commands.List());
    m_detailsPopup = nullptr; // gone with the menu
    return 0;
}

MessageResult CPortmavenDlg::OnMenuSelect(WPARAM wParam, LPARAM) {
    const tray::MenuSelection selection =
        tray::TrackMenuSelect({.port = m_nSelectedPort, .commandId = m_nSelectedCommandId},
                              DecodeMenuHighlight(LOWORD(wParam), HIWORD(wParam)),
                              ports::ShownPortIndices(m_ports).size());
    m_nSelectedPort = selection.port;
    m_nSelectedCommandId = selection.commandId;
    return kDefaultProcessing;
}

void CPortmavenDlg::OnDeviceManager() {
    // Nothing to report if the console does not open: the system has already said why.
    ::ShellExecuteW(GetSafeHwnd(), L"open", L"devmgmt.msc", nullptr, nullptr, SW_SHOWNORMAL);
}

bool CPortmavenDlg::RefreshPortList() {
    if (!RefreshSerialPorts(m_ports)) {
        return false;
    }
    if (m_portHolders) {
        m_portHolders->Refresh(m_ports);
    }
    return true;
}

void CPortmavenDlg::OnLaunchCommand() {
    const tray::CommandChoice choice = tray::ChoiceFromSelection(
        {.port = m_nSelectedPort, .commandId = m_nSelectedCommandId}, m_ports);
    if (tray::LaunchCommandChoice(choice, m_ports, m_commands.List(), LaunchCommandForPort) ==
        tray::LaunchOutcome::Invalid) {
        AppMessageBox(ToWide(launch::kInvalidCommandText), MB_OK | MB_ICONERROR);
    }
}

bool CPortmavenDlg::RunNoticedBoardCommand() {
    // The ports and the user's settings as they are now, not as the notice saw them.
    if (!m_portNotices || !RefreshPortList()) {
        return false;
    }
    const tray::CommandChoice choice =
        arrival::NoticeClickChoice(m_portNotices->LastNotice(), m_ports, m_commands.List());
    const tray::LaunchOutcome outcome =
        tray::LaunchCommandChoice(choice, m_ports, m_commands.List(), LaunchCommandForPort);
    if (outcome == tray::LaunchOutcome::Invalid) {
        // The user clicked for it: told as a click in the menu is told.
        AppMessageBox(ToWide(launch::kInvalidCommandText), MB_OK | MB_ICONERROR);
    }
    return outcome != tray::LaunchOutcome::Dropped;
}

void CPortmavenDlg::OnCopyPortName() {
    CopyPortName(GetSafeHwnd(), m_ports, m_nSelectedPort);
}

void CPortmavenDlg::OnPortSettings() {
    // A copy: the list may be enumerated again while the dialog's loop runs.
    if (const std::optional<ports::SerialPort> port =
            ports::ListedPortAt(m_ports, m_nSelectedPort)) {
        EditPortSettings(GetSafeHwnd(), *port, config::CommandNames(m_commands.List()),
                         tray::PortHeadingText(*port));
    }
}

void CPortmavenDlg::OnHidePort() {
    HidePort(m_ports, m_nSelectedPort);
}

void CPortmavenDlg::OnShowPort(WPARAM wParam) {
    ShowHiddenPort(m_ports, LOWORD(wParam) - static_cast<std::size_t>(tray::kFirstShowPortId));
}

MessageResult CPortmavenDlg::OnInitMenuPopup(WPARAM popup) {
    if (ShowPortDetails(reinterpret_cast<HMENU>(popup), ports::ShownPorts(m_ports), m_nSelectedPort,
                        m_commands.List())) {
        m_detailsPopup = reinterpret_cast<HMENU>(popup);
    }
    return kDefaultProcessing;
}

void CPortmavenDlg::OnPortHolders() {
    if (m_portHolders && m_portHolders->OnAnswer(m_ports) && m_detailsPopup != nullptr) {
        ShowPortDetails(m_detailsPopup, ports::ShownPorts(m_ports), m_nSelectedPort,
                        m_commands.List());
    }
}

void CPortmavenDlg::StartPortNotices() {
    // An arrival starts what the user set for the board as a click would, but quietly: no
    // window of the shell's that the user did not ask for.
    m_portNotices = std::make_unique<PortNotices>(
        GetSafeHwnd(), *m_trayIcon, [this](std::span<const ports::SerialPort> added) {
            return m_arrivals.OnPortsArrived(
                added, m_commands.List(),
                [](std::u16string_view commandLine, const ports::SerialPort& port) {
                    return StartCommandForPort(commandLine, port, ShellErrors::Quiet);
                });
        });
    m_notifySetting.Apply();
}

LRESULT CPortmavenDlg::OnDeviceChange(WPARAM event, LPARAM data) {
    if (m_portNotices) {
        m_portNotices->OnDeviceChange(event, data);
    }
    // Grants DBT_DEVICEQUERYREMOVE: the program holds no device open.
    return TRUE;
}

MessageResult CPortmavenDlg::OnTimer(WPARAM timerId) {
    if (m_portNotices && m_portNotices->OnTimer(timerId)) {
        return 0;
    }
    return kDefaultProcessing;
}

// A failure in either dialog reaches Dialog::Dispatch, which keeps the tray program running.
void CPortmavenDlg::OnMenuProperties() {
    RunConfigureDialog(GetSafeHwnd(), m_commands.List(), m_commands.Saver(), m_notifySetting);
}

void CPortmavenDlg::OnMenuAbout() {
    RunAboutBox(GetSafeHwnd());
}

} // namespace portmaven::win
