#include "about/win/about_dialog.h"

#include "about/about_texts.h"
#include "about/win/fit_to_text.h"
#include "framework/win/dpi.h"
#include "resource.h"

#include <stdexcept>

namespace portmaven::win {

namespace {
constexpr about::Colour kLinkHoverColour = about::Rgb(255, 0, 0);
constexpr about::Colour kLinkVisitedColour = about::Rgb(111, 49, 152);
} // namespace

const MessageMapEntry<CAboutDlg> CAboutDlg::messageMap[] = {
    OnMessage<&CAboutDlg::OnCtlColorStatic>(WM_CTLCOLORSTATIC),
};

CAboutDlg::CAboutDlg(HWND owner) noexcept : Dialog(IDD_ABOUTBOX, owner) {}

void RunAboutBox(HWND owner) {
    CAboutDlg about(owner);
    about.DoModal();
}

MessageResult CAboutDlg::HandleMessage(const WindowMessage& msg) {
    return DispatchMessageMap<CAboutDlg>(messageMap, *this, msg);
}

MessageResult CAboutDlg::OnCtlColorStatic(const WindowMessage& msg) {
    // The link paints itself from its parent's colour request.
    return m_link.ReflectCtlColor(msg);
}

void CAboutDlg::DoDataExchange() {
    if (!m_link.SubclassDlgItem(IDC_HOMEPAGE_LINK, GetSafeHwnd())) {
        throw std::runtime_error("the About box has no homepage link control");
    }
}

BOOL CAboutDlg::OnInitDialog() {
    // The dialog's guard stops any exception here: the box still comes up, with the steps
    // after the failing one left undone.
    Dialog::OnInitDialog();
    DoDataExchange();

    RECT client{};
    ::GetClientRect(m_link.GetSafeHwnd(), &client);
    m_nMaxLinkWidth = client.right;

    m_link.SetTarget(about::kHomepageUrl);
    m_link.SetTipText(about::kHomepageTip);
    // Without the resource the arrow from attach stays: a null cursor would hide the pointer.
    if (HCURSOR hand =
            ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_LINK_CURSOR))) {
        m_link.SetLinkCursor(hand);
    }
    m_link.SetUnderlineMode(about::UnderlineOnHover);
    m_link.SetHoverAndVisitedColors(kLinkHoverColour, kLinkVisitedColour);
    FitLinkToText(m_link);
    ShowIconForDpi();
    return TRUE;
}

void CAboutDlg::OnDpiChanged(UINT oldDpi, UINT newDpi) {
    // The link was sized to its text, which the new font measures anew.
    m_nMaxLinkWidth = ScaleForDpi(m_nMaxLinkWidth, newDpi, oldDpi);
    FitLinkToText(m_link);
    ShowIconForDpi();
}

void CAboutDlg::ShowIconForDpi() {
    HWND iconControl = nullptr;
    for (HWND child = ::GetWindow(GetSafeHwnd(), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            iconControl = child;
            break;
        }
    }
    ScopedIcon icon = LoadLargeIcon(::GetModuleHandleW(nullptr), IDR_MAINFRAME, Dpi());
    if (iconControl == nullptr || !icon) {
        return;
    }
    ::SendMessageW(iconControl, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
    // The icon shown before goes only once the control shows the new one.
    m_icon = std::move(icon);
}

void CAboutDlg::FitLinkToText(const CHyperLink& link) const {
    // Should the measuring throw, Dialog::Dispatch catches it and the control keeps its
    // template size: nothing in OnInitDialog comes after this.
    FitControlToText(link.GetSafeHwnd(), m_nMaxLinkWidth);
}

} // namespace portmaven::win
