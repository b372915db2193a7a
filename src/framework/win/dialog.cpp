#include "framework/win/dialog.h"

#include "framework/win/dpi.h"
#include "framework/win/win_app.h"

#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

namespace portmaven::win {

namespace {

// Messages whose result a dialog procedure returns directly instead of through
// DWLP_MSGRESULT (see the DialogProc documentation).
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

// The class of dialogs and message boxes.
constexpr std::wstring_view kDialogClass = L"#32770";

struct OwnedDialogSearch {
    HWND owner;
    HWND found = nullptr;
};

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<OwnedDialogSearch*>(lParam);
    wchar_t className[16] = {};
    const int length = ::GetClassNameW(window, className, static_cast<int>(std::size(className)));
    if (::GetWindow(window, GW_OWNER) != search->owner || !::IsWindowVisible(window) ||
        std::wstring_view(className, length > 0 ? static_cast<std::size_t>(length) : 0) !=
            kDialogClass) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

} // namespace

bool BringModalDialogToFront(HWND owner) {
    if (::IsWindowEnabled(owner)) {
        return false;
    }
    // Each modal loop disables the window that owns its dialog: follow the disabled owners
    // down to the dialog that is still enabled. The chain is short; the bound only guards
    // against windows that change while it is followed.
    const DWORD thread = ::GetWindowThreadProcessId(owner, nullptr);
    HWND top = owner;
    for (int depth = 0; depth < 16 && !::IsWindowEnabled(top); ++depth) {
        OwnedDialogSearch search{.owner = top};
        ::EnumThreadWindows(thread, &FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) {
            break;
        }
        top = search.found;
    }
    if (top != owner) {
        ::SetForegroundWindow(top);
    }
    // Something modal runs even when its window was not found: the owner must not act.
    return true;
}

Dialog::Dialog(UINT templateId, HWND parent) noexcept : templateId_(templateId), parent_(parent) {}

INT_PTR Dialog::DoModal() {
    HWND owner = parent_;
    if (owner == nullptr) {
        if (WinApp* app = WinApp::Current()) {
            owner = app->MainWindow();
        }
    }
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner,
                             &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

void Dialog::EndDialog(INT_PTR result) noexcept {
    if (hwnd_ != nullptr) {
        ::EndDialog(hwnd_, result);
    }
}

std::wstring Dialog::GetItemText(int id) const {
    HWND item = GetDlgItem(id);
    const int length = ::GetWindowTextLengthW(item);
    if (length <= 0) {
        return {};
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const int copied = ::GetWindowTextW(item, buffer.data(), length + 1);
    return {buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0)};
}

void Dialog::SetItemText(int id, const std::wstring& text) const {
    ::SetDlgItemTextW(hwnd_, id, text.c_str());
}

MessageResult Dialog::HandleMessage(const WindowMessage&) {
    return kDefaultProcessing;
}

void Dialog::ApplyDpiChange(UINT newDpi, const RECT* suggested) {
    const UINT oldDpi = dpi_;
    // Where the controls are, in the client area, before the dialog is resized.
    std::vector<std::pair<HWND, RECT>> places;
    for (HWND child = ::GetWindow(hwnd_, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT place{};
        ::GetWindowRect(child, &place);
        ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&place), 2);
        places.emplace_back(child, place);
    }
    if (suggested != nullptr) {
        ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (newDpi == 0 || newDpi == oldDpi) {
        return;
    }

    ScopedFont font;
    LOGFONTW logFont{};
    const auto current = reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    if (current != nullptr && ::GetObjectW(current, sizeof logFont, &logFont) != 0) {
        logFont.lfHeight = ScaleForDpi(logFont.lfHeight, newDpi, oldDpi);
        font.Reset(::CreateFontIndirectW(&logFont));
    }
    for (const auto& [child, place] : places) {
        const int left = ScaleForDpi(place.left, newDpi, oldDpi);
        const int top = ScaleForDpi(place.top, newDpi, oldDpi);
        ::SetWindowPos(child, nullptr, left, top, ScaleForDpi(place.right, newDpi, oldDpi) - left,
                       ScaleForDpi(place.bottom, newDpi, oldDpi) - top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        if (font) {
            ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
        }
    }
    if (font) {
        // The previous font goes only now that no control shows it any more. The dialog
        // answers WM_GETFONT with this one from now on.
        font_ = std::move(font);
    }
    dpi_ = newDpi;
    OnDpiChanged(oldDpi, newDpi);
}

MessageResult Dialog::Route(const WindowMessage& msg) {
    if (msg.message == WM_INITDIALOG) {
        dpi_ = WindowDpi(hwnd_);
        TakeOverDialogDpiChanges(hwnd_);
        return OnInitDialog();
    }
    if (msg.message == WM_GETFONT && font_) {
        return reinterpret_cast<LRESULT>(font_.Get());
    }
    if (msg.message == WM_DPICHANGED) {
        ApplyDpiChange(HIWORD(msg.wParam), reinterpret_cast<const RECT*>(msg.lParam));
        return 0;
    }
    if (MessageResult result = HandleMessage(msg)) {
        return result;
    }
    if (msg.message == WM_COMMAND && HIWORD(msg.wParam) <= 1) {
        switch (LOWORD(msg.wParam)) {
        case IDOK:
            OnOK();
            return 0;
        case IDCANCEL:
            OnCancel();
            return 0;
        default:
            break;
        }
    }
    return kDefaultProcessing;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    HWND hwnd = hwnd_;
    MessageResult result;
    try {
        result = Route({message, wParam, lParam});
    } catch (...) {
        // No exception may unwind into the system's dialog manager; the handler's work so far
        // stays done and the program carries on.
        result = (message == WM_INITDIALOG) ? MessageResult{TRUE} : kDefaultProcessing;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        hwnd_ = nullptr;
        try {
            PostNcDestroy();
        } catch (...) {
            // Destruction must finish whatever the clean-up threw.
        }
    }
    if (!result) {
        return FALSE;
    }
    if (ReturnsResultDirectly(message)) {
        return static_cast<INT_PTR>(*result);
    }
    ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, *result);
    return TRUE;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (self == nullptr) {
        return FALSE;
    }
    return self->Dispatch(message, wParam, lParam);
}

} // namespace portmaven::win
