#include "framework/win/tray_icon.h"

#include "framework/win/wide_text.h"

#include <algorithm>

namespace portmaven::win {

namespace {

// How long the shell keeps a balloon up (it clamps the value to its own range).
constexpr UINT kBalloonTimeoutMs = 10000;

// Cut to the field, terminator included.
template <std::size_t N> void CopyToField(wchar_t (&field)[N], std::wstring_view text) noexcept {
    const std::size_t units = std::min(text.size(), N - 1);
    std::copy_n(text.data(), units, field);
    field[units] = L'\0';
}

} // namespace

TrayIcon::TrayIcon(HWND window, UINT id, UINT callbackMessage) noexcept
    : window_(window), id_(id), callbackMessage_(callbackMessage) {
    // An elevated copy would otherwise never hear that Explorer, running unelevated, has
    // recreated the notification area. Without the filter only that case is lost.
    ::ChangeWindowMessageFilterEx(window_, ::RegisterWindowMessageW(kTaskbarCreatedMessage),
                                  MSGFLT_ALLOW, nullptr);
}

TrayIcon::~TrayIcon() {
    Delete();
}

NOTIFYICONDATAW TrayIcon::Record(UINT flags) const noexcept {
    NOTIFYICONDATAW record{};
    // The shell reads no field beyond this size; the same size for every call on the icon.
    record.cbSize = NOTIFYICONDATAW_V3_SIZE;
    record.hWnd = window_;
    record.uID = id_;
    record.uFlags = flags;
    return record;
}

bool TrayIcon::Add() {
    NOTIFYICONDATAW record = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    record.uCallbackMessage = callbackMessage_;
    record.hIcon = icon_;
    CopyToField(record.szTip, tip_);
    added_ = ::Shell_NotifyIconW(NIM_ADD, &record) != FALSE;
    return added_;
}

void TrayIcon::SetIcon(HICON icon) {
    icon_ = icon;
    if (added_) {
        NOTIFYICONDATAW record = Record(NIF_ICON);
        record.hIcon = icon_;
        ::Shell_NotifyIconW(NIM_MODIFY, &record);
    }
}

void TrayIcon::SetTip(std::u16string_view tip) {
    tip_ = ToWide(tip.substr(0, std::min(tip.size(), kTipUnits - 1)));
    if (added_) {
        NOTIFYICONDATAW record = Record(NIF_TIP);
        CopyToField(record.szTip, tip_);
        ::Shell_NotifyIconW(NIM_MODIFY, &record);
    }
}

bool TrayIcon::ShowBalloon(const Balloon& balloon) {
    if (!added_) {
        return false;
    }
    NOTIFYICONDATAW record = Record(NIF_INFO);
    CopyToField(record.szInfoTitle, ToWide(balloon.title));
    CopyToField(record.szInfo, ToWide(balloon.text));
    record.uTimeout = kBalloonTimeoutMs;
    record.dwInfoFlags = balloon.flags;
    if (balloon.icon != nullptr) {
        // The balloon's own icon lies past the size the icon was added with.
        record.cbSize = sizeof(NOTIFYICONDATAW);
        record.hBalloonIcon = balloon.icon;
    }
    return ::Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

void TrayIcon::Delete() {
    // The shell finds the icon by the window handle's value and the id, which serve for this
    // even once the window is gone. Nothing to do when it was not there.
    NOTIFYICONDATAW record = Record(0);
    ::Shell_NotifyIconW(NIM_DELETE, &record);
    added_ = false;
}

TrayIcon::Event TrayIcon::Decode(WPARAM wParam, LPARAM lParam) const noexcept {
    if (wParam != id_) {
        return Event::NotThisIcon;
    }
    switch (lParam) {
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        return Event::Click;
    case WM_LBUTTONDBLCLK:
        return Event::DoubleClick;
    case NIN_BALLOONUSERCLICK:
        return Event::BalloonClick;
    default:
        return Event::Other;
    }
}

} // namespace portmaven::win
