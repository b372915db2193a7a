#include "about/win/hyper_link.h"

#include "about/about_texts.h"

#include "framework/win/wide_text.h"

#include <commctrl.h>
#include <shellapi.h>

namespace portmaven::win {

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr UINT kToolId = 1;
constexpr wchar_t kOpenFailedCaption[] = L"Error";

// Signed coordinates packed in an lParam (client points can be negative under capture).
POINT PointFromLParam(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

bool IsMouseMessage(UINT message) {
    return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
}

} // namespace

const MessageMapEntry<CHyperLink> CHyperLink::messageMap[] = {
    OnMessage<&CHyperLink::OnTimer, CHyperLink>(WM_TIMER),
    OnMessage<&CHyperLink::OnSetCursor, CHyperLink>(WM_SETCURSOR),
    OnMessage<&CHyperLink::OnLButtonUpAt>(WM_LBUTTONUP),
    OnMessage<&CHyperLink::OnLButtonDown, CHyperLink>(WM_LBUTTONDOWN),
};

CHyperLink::~CHyperLink() {
    // The object can die before its window (the window then goes back to the plain static);
    // the GDI objects and the tooltip go with their owners declared below.
    Detach();
}

bool CHyperLink::SubclassWindow(HWND control) {
    if (m_hWnd != nullptr || control == nullptr || !::IsWindow(control)) {
        return false;
    }
    m_hWnd = control;
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    PreSubclassWindow();
    if (!InstallSubclass(control)) {
        // The control stays a plain static: it gets back the style it had, and the tooltip
        // made for the link goes.
        ::SetWindowLongW(control, GWL_STYLE, style);
        m_tipCtrl.Destroy();
        m_hWnd = nullptr;
        return false;
    }
    return true;
}

bool CHyperLink::InstallSubclass(HWND control) {
    return ::SetWindowSubclass(control, &CHyperLink::SubclassProc, kSubclassId,
                               reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

void CHyperLink::PreSubclassWindow() {
    // Static controls are transparent to the mouse unless they notify their parent.
    const LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    ::SetWindowLongW(m_hWnd, GWL_STYLE, style | SS_NOTIFY);

    m_hCursor = ::LoadCursorW(nullptr, IDC_ARROW);

    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (m_tipCtrl.Create(m_hWnd)) {
        m_tipCtrl.AddTool(m_hWnd, kToolId, client, ToWide(Target()));
    }

    m_nBkMode = TRANSPARENT;
    LOGBRUSH hollow{};
    ::GetObjectW(::GetStockObject(NULL_BRUSH), sizeof hollow, &hollow);
    m_brushBack.Reset();
    m_brushBack.Reset(::CreateBrushIndirect(&hollow));
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CHyperLink::Detach() noexcept {
    if (m_hWnd == nullptr) {
        return;
    }
    if (IsTracking()) {
        ::KillTimer(m_hWnd, about::kHoverTimerId);
    }
    // A control that outlives the link gets its own font back before the link font goes.
    if (m_fontLink &&
        reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)) == m_fontLink.Get()) {
        ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_hTextFont), FALSE);
    }
    ::RemoveWindowSubclass(m_hWnd, &CHyperLink::SubclassProc, kSubclassId);
    m_hWnd = nullptr;
}

HFONT CHyperLink::TextFont() noexcept {
    // The control's font is the link font while the link paints it; the font it had before
    // (from its dialog, or set anew from outside) is what the link font is made from.
    auto* current = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    if (current == nullptr || current != m_fontLink.Get()) {
        m_hTextFont = current;
    }
    return m_hTextFont;
}

LRESULT CALLBACK CHyperLink::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR refData) noexcept {
    auto* self = reinterpret_cast<CHyperLink*>(refData);
    if (message == WM_NCDESTROY) {
        self->m_tipCtrl.Destroy();
        self->Detach();
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    MessageResult result;
    try {
        result = self->Route({message, wParam, lParam});
    } catch (...) {
        // No exception may unwind into the system; the message gets the static's handling.
        result = kDefaultProcessing;
    }
    return result ? *result : ::DefSubclassProc(hwnd, message, wParam, lParam);
}

MessageResult CHyperLink::Route(const WindowMessage& msg) {
    if (IsMouseMessage(msg.message)) {
        // The tooltip learns of the pointer from relayed mouse messages. A framework with its
        // own message loop relays them before dispatch; dialogs here run the system's modal
        // loop, so the control relays what reaches its window procedure, to the same effect.
        const DWORD pos = ::GetMessagePos();
        const POINT screen = PointFromLParam(static_cast<LPARAM>(pos));
        const MSG relayed{.hwnd = m_hWnd,
                          .message = msg.message,
                          .wParam = msg.wParam,
                          .lParam = msg.lParam,
                          .time = static_cast<DWORD>(::GetMessageTime()),
                          .pt = screen};
        m_tipCtrl.RelayEvent(relayed);
    }
    return DispatchMessageMap<CHyperLink>(messageMap, *this, msg);
}

void CHyperLink::SetTipText(std::u16string_view text) {
    m_tipCtrl.UpdateTipText(ToWide(text), m_hWnd, kToolId);
}

MessageResult CHyperLink::ReflectCtlColor(const WindowMessage& msg) {
    if (msg.message != WM_CTLCOLORSTATIC || m_hWnd == nullptr ||
        reinterpret_cast<HWND>(msg.lParam) != m_hWnd) {
        return kDefaultProcessing;
    }
    return reinterpret_cast<LRESULT>(CtlColor(reinterpret_cast<HDC>(msg.wParam), CTLCOLOR_STATIC));
}

HBRUSH CHyperLink::CtlColor(HDC dc, UINT) {
    ::SetTextColor(dc, TextColor());
    ::SetBkColor(dc, BackColor());
    ::SetBkMode(dc, m_nBkMode);

    // Without a font of the control the device context's own font is used, as it comes.
    if (HFONT font = TextFont()) {
        LOGFONTW logFont{};
        if (::GetObjectW(font, sizeof logFont, &logFont) != 0) {
            logFont.lfUnderline = IsUnderlined() ? TRUE : FALSE;
            ScopedFont linkFont(::CreateFontIndirectW(&logFont));
            // The static control selects its own font after this request, so the underline
            // only shows when the link font is the control's font too. The previous link font
            // is deleted only once the control has let go of it.
            ::SendMessageW(m_hWnd, WM_SETFONT,
                           reinterpret_cast<WPARAM>(linkFont ? linkFont.Get() : font), FALSE);
            if (linkFont) {
                ::SelectObject(dc, linkFont.Get());
            }
            m_fontLink = std::move(linkFont);
        }
    }

    if (m_nBkMode == TRANSPARENT && !ShowsImage()) {
        FillBackground();
    }
    return m_brushBack.Get();
}

bool CHyperLink::ShowsImage() const {
    return ::SendMessageW(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0 ||
           ::SendMessageW(m_hWnd, STM_GETICON, 0, 0) != 0 ||
           ::SendMessageW(m_hWnd, STM_GETIMAGE, IMAGE_CURSOR, 0) != 0 ||
           ::SendMessageW(m_hWnd, STM_GETIMAGE, IMAGE_ENHMETAFILE, 0) != 0;
}

void CHyperLink::FillBackground() {
    ScopedBrush face(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
    ScopedWindowDC dc(m_hWnd);
    if (!face || !dc) {
        return;
    }
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(dc.Get(), &client, face.Get());
}

bool CHyperLink::OpenLink(std::u16string target) {
    const std::wstring file = ToWide(target);
    const HINSTANCE result =
        ::ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Values above 32 mean success; the rest are error codes in the shape of a handle.
    if (reinterpret_cast<INT_PTR>(result) > 32) {
        return true;
    }
    ::MessageBoxW(m_hWnd, ToWide(about::kOpenUrlFailedText).c_str(), kOpenFailedCaption,
                  MB_OK | MB_ICONERROR);
    return false;
}

void CHyperLink::OnLButtonUpAt(WPARAM, LPARAM lParam) {
    const POINT clientPoint = PointFromLParam(lParam);
    POINT screen = clientPoint;
    RECT window{};
    ::ClientToScreen(m_hWnd, &screen);
    ::GetWindowRect(m_hWnd, &window);
    OnLButtonUp(::PtInRect(&window, screen) != FALSE);
}

bool CHyperLink::HasCaption() const {
    return m_hWnd != nullptr && ::GetWindowTextLengthW(m_hWnd) > 0;
}

void CHyperLink::ShowLinkCursor() {
    ::SetCursor(m_hCursor);
}

void CHyperLink::StartHoverTimer() {
    ::SetTimer(m_hWnd, about::kHoverTimerId, about::kHoverTimerPeriodMs, nullptr);
}

void CHyperLink::StopHoverTimer() {
    ::KillTimer(m_hWnd, about::kHoverTimerId);
}

bool CHyperLink::CursorInsideWindow() const {
    RECT window{};
    POINT cursor{};
    ::GetWindowRect(m_hWnd, &window);
    ::GetCursorPos(&cursor);
    return ::PtInRect(&window, cursor) != FALSE;
}

void CHyperLink::CaptureMouse() {
    ::SetCapture(m_hWnd);
}

bool CHyperLink::HoldsCapture() const {
    return m_hWnd != nullptr && ::GetCapture() == m_hWnd;
}

void CHyperLink::ReleaseMouse() {
    ::ReleaseCapture();
}

void CHyperLink::Redraw() {
    // Before attach there is nothing to repaint (and a null window would mean every window).
    if (m_hWnd != nullptr) {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

} // namespace portmaven::win
