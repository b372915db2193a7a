#include "app/win/portmaven_dlg.h"

#include "config/win/command_store_win.h"
#include "ports/menu_ids.h"
#include "resource.h"

#include <cwchar>
#include <string>

namespace portmaven::win {

namespace {
constexpr wchar_t kTrayTip[] = L"Portmaven";
// Broadcast by the shell when the notification area is (re)created, e.g. after Explorer
// restarts; every tray icon must then be added again.
constexpr wchar_t kTaskbarCreatedMessage[] = L"TaskbarCreated";
} // namespace

const MessageMapEntry<CPortmavenDlg> CPortmavenDlg::messageMap[] = {
    OnMessage<CPortmavenDlg>(WM_SYSCOMMAND,
                             [](CPortmavenDlg& self, const WindowMessage& msg) {
                                 return self.OnSysCommand(static_cast<UINT>(msg.wParam),
                                                          msg.lParam);
                             }),
    OnMessage<CPortmavenDlg>(WM_PAINT,
                             [](CPortmavenDlg& self, const WindowMessage&) -> MessageResult {
                                 self.OnPaint();
                                 return 0;
                             }),
    OnMessage<CPortmavenDlg>(WM_QUERYDRAGICON,
                             [](CPortmavenDlg& self, const WindowMessage&) -> MessageResult {
                                 return reinterpret_cast<LRESULT>(self.m_hIcon);
                             }),
    OnMessage<CPortmavenDlg>(WM_TRAYNOTIFY,
                             [](CPortmavenDlg& self, const WindowMessage& msg) -> MessageResult {
                                 return self.OnTrayNotify(msg.wParam, msg.lParam);
                             }),
    OnCommand<CPortmavenDlg>(ID_MENU_EXIT,
                             [](CPortmavenDlg& self, const WindowMessage&) -> MessageResult {
                                 self.OnMenuExit();
                                 return 0;
                             }),
    OnCommand<CPortmavenDlg>(ID_MENU_DEVICE_MANAGER,
                             [](CPortmavenDlg& self, const WindowMessage&) -> MessageResult {
                                 self.OnDeviceManager();
                                 return 0;
                             }),
    OnCommand<CPortmavenDlg>(ID_MENU_PROPERTIES,
                             [](CPortmavenDlg& self, const WindowMessage&) -> MessageResult {
                                 self.OnMenuProperties();
                                 return 0;
                             }),
    OnCommand<CPortmavenDlg>(ID_MENU_ABOUT,
                             [](CPortmavenDlg& self, const WindowMessage&) -> MessageResult {
                                 self.OnMenuAbout();
                                 return 0;
                             }),
    // Every command of the list is launchable, not only the first ten.
    OnCommandRange<CPortmavenDlg>(ports::kFirstCommandId, ports::kLastCommandId,
                                  [](CPortmavenDlg& self, const WindowMessage&) -> MessageResult {
                                      self.OnLaunchCommand();
                                      return 0;
                                  }),
    OnMessage<CPortmavenDlg>(WM_MENUSELECT,
                             [](CPortmavenDlg& self, const WindowMessage& msg) -> MessageResult {
                                 self.OnMenuSelect(LOWORD(msg.wParam), HIWORD(msg.wParam),
                                                   reinterpret_cast<HMENU>(msg.lParam));
                                 // Only watched: the system's own handling still runs.
                                 return kDefaultProcessing;
                             }),
    OnMessage<CPortmavenDlg>(WM_DEVICECHANGE,
                             [](CPortmavenDlg& self, const WindowMessage& msg) -> MessageResult {
                                 self.OnDeviceChange(msg.wParam, msg.lParam);
                                 return TRUE;
                             }),
    OnMessage<CPortmavenDlg>(WM_TIMER,
                             [](CPortmavenDlg& self, const WindowMessage& msg) -> MessageResult {
                                 return self.OnTimer(msg.wParam);
                             }),
    OnRegisteredMessage<CPortmavenDlg>(
        kTaskbarCreatedMessage,
        [](CPortmavenDlg& self, const WindowMessage&) -> MessageResult {
            self.OnTaskbarCreated();
            return 0;
        }),
};

CPortmavenDlg::CPortmavenDlg() noexcept
    : Dialog(IDD_PORTMAVEN_DIALOG),
      m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

MessageResult CPortmavenDlg::HandleMessage(const WindowMessage& msg) {
    return DispatchMessageMap<CPortmavenDlg>(messageMap, *this, msg);
}

BOOL CPortmavenDlg::OnInitDialog() {
    // Every step runs under the dialog's guard: an exception ends initialisation at that step,
    // the steps already done stay done, and the dialog still comes up.
    Dialog::OnInitDialog();

    if (HMENU systemMenu = ::GetSystemMenu(GetSafeHwnd(), FALSE)) {
        wchar_t aboutText[256] = {};
        if (::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, aboutText,
                          static_cast<int>(std::size(aboutText))) > 0) {
            ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText);
        }
    }

    ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_notifyIconData = NOTIFYICONDATAW{};
    m_notifyIconData.cbSize = NOTIFYICONDATAW_V3_SIZE;
    m_notifyIconData.hWnd = GetSafeHwnd();
    m_notifyIconData.uID = kTrayIconId;
    m_notifyIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_notifyIconData.uCallbackMessage = WM_TRAYNOTIFY;
    m_notifyIconData.hIcon =
        ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    std::wcsncpy(m_notifyIconData.szTip, kTrayTip, std::size(m_notifyIconData.szTip) - 1);

    if (!AddTrayIcon()) {
        // Without an icon nothing can reach the commands; they are loaded once the shell's
        // notification area appears (TaskbarCreated) and the icon could be added.
        return TRUE;
    }
    LoadCommandList();
    m_commandListLoaded = true;
    StartPortNotices();
    return TRUE;
}

bool CPortmavenDlg::AddTrayIcon() {
    return ::Shell_NotifyIconW(NIM_ADD, &m_notifyIconData) != FALSE;
}

void CPortmavenDlg::OnTaskbarCreated() {
    if (m_notifyIconData.hWnd == nullptr || !AddTrayIcon()) {
        return;
    }
    if (m_portNotices) {
        m_portNotices->OnTrayIconAdded();
    } else {
        StartPortNotices();
    }
    if (!m_commandListLoaded) {
        // The icon could not be added at start, so the list was never read. Load it now:
        // otherwise the next Exit would overwrite the command file with an empty list.
        LoadCommandList();
        m_commandListLoaded = true;
    }
}

void CPortmavenDlg::PostNcDestroy() {
    Dialog::PostNcDestroy();
    m_portNotices.reset();
    // The shell finds the icon by the window handle value and id, which stay usable for this
    // although the window is gone. Nothing to do if it fails.
    ::Shell_NotifyIconW(NIM_DELETE, &m_notifyIconData);
}

MessageResult CPortmavenDlg::OnSysCommand(UINT commandId, LPARAM) {
    if ((commandId & 0xFFF0) == IDM_ABOUTBOX) {
        OpenAboutBox();
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
        ::DrawIcon(dc, x, y, m_hIcon);
        ::EndPaint(hwnd, &paint);
        return;
    }
    ::EndPaint(hwnd, &paint);
    // The host only exists to own the tray icon: its first paint hides it for good.
    ::ShowWindow(hwnd, SW_HIDE);
}

void CPortmavenDlg::OnMenuExit() {
    // The outcome of the save is not looked at: the user asked to leave, and leaves.
    SaveCommandList();
    OnOK();
}

} // namespace portmaven::win
