// The hidden tray host: the program's main window for its whole life. It owns the tray icon,
// receives the icon's callback and every menu command, and holds what the tray menu and the
// launch share (the port labels and the last highlighted port and command).
//
// Its handlers live with the subsystem they serve: the tray menu, port refresh and launch in
// ports/win/, Properties in config/win/, About in about/win/.
#pragma once

#include "app/win/dialog.h"
#include "ports/win/serial_port_notices_win.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

namespace portmaven::win {

// Tray callback message (wParam: icon id, lParam: mouse message).
inline constexpr UINT WM_TRAYNOTIFY = WM_USER + 1;
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

private:
    static const MessageMapEntry<CPortmavenDlg> messageMap[];

    // Application shell (app/win/portmaven_dlg.cpp)
    MessageResult OnSysCommand(UINT commandId, LPARAM lParam);
    void OnPaint();
    void OnMenuExit();
    void OnTaskbarCreated();
    bool AddTrayIcon();

    // Tray menu, port list and launch (ports/win/)
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    void OnDeviceManager();
    bool RefreshPortList();
    void OnLaunchCommand();
    // Port notices: started once the tray icon is there, fed by device changes and the
    // debounce timer, switched by the user's setting.
    void StartPortNotices();
    void ApplyNotifySetting();
    void OnDeviceChange(WPARAM event, LPARAM data);
    MessageResult OnTimer(WPARAM timerId);

    // Configure dialog (config/win/)
    void OnMenuProperties();

    // About box (about/win/)
    void OnMenuAbout();
    void OpenAboutBox();

    NOTIFYICONDATAW m_notifyIconData{};
    std::vector<std::u16string> m_portLabels;
    int m_nSelectedPort = -1;
    int m_nSelectedCommandId = -1;
    HICON m_hIcon = nullptr;
    // Whether the command file has been read; it is not read while the tray icon is missing.
    bool m_commandListLoaded = false;
    // Holds the device-change registration; released when the host goes.
    std::unique_ptr<SerialPortNotices> m_portNotices;
};

} // namespace portmaven::win
