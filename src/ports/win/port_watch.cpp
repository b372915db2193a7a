#include "ports/win/port_watch.h"

#include "framework/win/dpi.h"
#include "ports/port_name.h"
#include "ports/win/serial_port_enum.h"
#include "resource.h"

#include <shellapi.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace portmaven::win {

namespace {

// How long the shell keeps the balloon up (it clamps the value to its own range).
constexpr UINT kBalloonTimeoutMs = 10000;

// The watcher has already cut the text to the field; the bound only guards the copy.
template <std::size_t N> void CopyToField(wchar_t (&field)[N], std::u16string_view text) noexcept {
    const std::size_t units = std::min(text.size(), N - 1);
    std::copy_n(text.data(), units, field);
    field[units] = L'\0';
}

// A modification of the icon's record that changes only the fields of `flags`.
NOTIFYICONDATAW Modification(HWND window, UINT iconId, UINT flags) noexcept {
    NOTIFYICONDATAW data{};
    // The size the icon was added with: the shell reads no field beyond it.
    data.cbSize = NOTIFYICONDATAW_V3_SIZE;
    data.hWnd = window;
    data.uID = iconId;
    data.uFlags = flags;
    return data;
}

} // namespace

void PortWatch::StartOneShot(std::chrono::milliseconds delay) {
    ::SetTimer(m_window, kPortChangeTimerId, static_cast<UINT>(delay.count()), nullptr);
}

void PortWatch::CancelTimer() {
    ::KillTimer(m_window, kPortChangeTimerId);
}

std::optional<std::vector<ports::SerialPort>> PortWatch::Enumerate() {
    return EnumerateKnownPorts();
}

void PortWatch::ShowNotice(const ports::PortNotice& notice) {
    NOTIFYICONDATAW data = Modification(m_window, m_iconId, NIF_INFO);
    // The balloon's own icon lies past the size the icon was added with.
    data.cbSize = sizeof(NOTIFYICONDATAW);
    CopyToField(data.szInfoTitle, notice.title);
    CopyToField(data.szInfo, notice.text);
    data.uTimeout = kBalloonTimeoutMs;
    // The program's own icon beside the text, at the large size for the icon's DPI; the shell
    // keeps a copy. Without it, the generic information icon.
    const ScopedIcon icon =
        LoadLargeIcon(::GetModuleHandleW(nullptr), IDR_MAINFRAME, WindowDpi(m_window));
    data.hBalloonIcon = icon.Get();
    data.dwInfoFlags = (icon ? NIIF_USER | NIIF_LARGE_ICON : NIIF_INFO) | NIIF_RESPECT_QUIET_TIME;
    // Without an icon there is nowhere to show it; the next change tries again.
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void PortWatch::SetTooltip(std::u16string_view tip) {
    NOTIFYICONDATAW data = Modification(m_window, m_iconId, NIF_TIP);
    CopyToField(data.szTip, tip);
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

} // namespace portmaven::win
