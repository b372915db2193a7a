// The hidden tray host: the program's main window for its whole life. It owns the tray icon,
// receives the icon's callback and every menu command, and holds what the tray menu and the
// launch share (the port labels and the last highlighted port and command).
//
// Every handler lives here and stays a few lines: it decodes its message and forwards to the
// subsystem that does the work (ports/win/, config/win/, about/win/), handing it the host's
// state rather than the host.
#pragma once

#include "access/win/port_holder_lookup.h"
#include "arrival/arrival_runs.h"
#include "config/command_list_owner.h"
#include "config/notify_setting.h"
#include "config/win/command_store.h"
#include "config/win/notify_setting.h"
#include "framework/win/dialog.h"
#include "framework/win/scoped_handle.h"
#include "framework/win/tray_icon.h"
#include "ports/serial_port.h"
#include "ports/win/port_notices.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace portmaven::win {

// Tray callback message (wParam: icon id, lParam: mouse message).
inline constexpr UINT WM_TRAYNOTIFY = WM_USER + 1;
// The look for who holds the ports open has its answer.
inline constexpr UINT WM_PORTHOLDERS = WM_USER + 2;
inline constexpr UINT kTrayIconId = 128;

class CPortmavenDlg : public Dialog {
public:
    CPortmavenDlg() noexcept;
    ~CPortmavenDlg() override = default;

    CPortmavenDlg(const CPortmavenDlg&) = delete;
    CPortmavenDlg& operator=(const CPortmavenDlg&) = delete;
    CPortmavenDlg(CPortmavenDlg&&) = delete;
    CPortmavenDlg& operator=(CPortmavenDlg&&) = delete;

protected:
    BOOL OnInitDialog() override;
    void PostNcDestroy() override;
    MessageResult HandleMessage(const WindowMessage& msg) override;
    // Enter and Escape reach the hidden host once the tray menu has closed and left it the
    // foreground; they must not end the program behind the user's back.
    void OnOK() override {}
    void OnCancel() override {}
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;

private:
    static const MessageMapEntry<CPortmavenDlg> messageMap[];

    // Application shell
    MessageResult OnSysCommand(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    LRESULT OnQueryDragIcon() const;
    void OnMenuExit();
    // WM_CLOSE from outside (an installer, a tool asking the program to end) still ends it.
    void OnClose();
    void OnTaskbarCreated();
    // Loads the icons for the host's DPI and gives them to the window; the tray icon takes the
    // small one.
    void LoadIconsForDpi();

    // Tray menu, port list and launch
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    // Only watched: the system's own handling still runs.
    MessageResult OnMenuSelect(WPARAM wParam, LPARAM lParam);
    void OnDeviceManager();
    bool RefreshPortList();
    void OnLaunchCommand();
    // A port's own items, and the details line of the port whose submenu opens.
    void OnCopyPortName();
    void OnPortSettings();
    void OnHidePort();
    void OnShowPort(WPARAM wParam);
    MessageResult OnInitMenuPopup(WPARAM popup);
    void OnPortHolders();
    // A click on a port notice: the default command of the board that arrived, when it has one
    // and is still there; false when it runs nothing.
    bool RunNoticedBoardCommand();
    // Port notices: started once the tray icon is there, fed by device changes and the
    // debounce timer, switched by the user's setting.
    void StartPortNotices();
    LRESULT OnDeviceChange(WPARAM event, LPARAM data);
    MessageResult OnTimer(WPARAM timerId);

    // Configure dialog
    void OnMenuProperties();

    // About box
    void OnMenuAbout();

    // The icon in the notification area; made with the window.
    std::optional<TrayIcon> m_trayIcon;
    // The ports of the last enumeration; the menu lists their labels in this order.
    std::vector<ports::SerialPort> m_ports;
    int m_nSelectedPort = -1;
    int m_nSelectedCommandId = -1;
    // Who holds the ports open, looked for as the menu opens; and the popup whose details line
    // shows, while the menu is open, so that a late answer is written into it.
    std::unique_ptr<PortHolderLookup> m_portHolders;
    HMENU m_detailsPopup = nullptr;
    // The program's icon at the host's DPI: large for the window, small for the caption and
    // the notification area (the shell would otherwise scale a large one down).
    ScopedIcon m_largeIcon;
    ScopedIcon m_smallIcon;
    // The command list, read once the tray icon is there (nothing can reach it before) and
    // written at Exit.
    CommandFileStore m_commandStore;
    config::CommandListOwner m_commands{m_commandStore};
    // What boards started on arrival; before the notices, which report arrivals to it.
    arrival::ArrivalRuns m_arrivals;
    // Holds the device-change registration; released when the host goes.
    std::unique_ptr<PortNotices> m_portNotices;
    // The notices' switch: read when they start, applied again whenever Configure stores it.
    RegistryNotifySetting m_notifyStore;
    config::AppliedNotifySetting m_notifySetting{m_notifyStore, [this](bool enabled) {
                                                     if (m_portNotices) {
                                                         m_portNotices->SetNotificationsEnabled(
                                                             enabled);
                                                     }
                                                 }};
};

} // namespace portmaven::win
