#include "ports/win/port_watch.h"

#include "framework/win/dpi.h"
#include "ports/win/serial_port_enum.h"
#include "resource.h"

namespace portmaven::win {

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
    // The program's own icon beside the text, at the large size for the icon's DPI; the shell
    // keeps a copy. Without it, the generic information icon.
    const ScopedIcon icon =
        LoadLargeIcon(::GetModuleHandleW(nullptr), IDR_MAINFRAME, WindowDpi(m_window));
    // Without an icon in the area there is nowhere to show it; the next change tries again.
    const DWORD kind = icon ? NIIF_USER | NIIF_LARGE_ICON : NIIF_INFO;
    m_icon.ShowBalloon({.title = notice.title,
                        .text = notice.text,
                        .flags = kind | NIIF_RESPECT_QUIET_TIME,
                        .icon = icon.Get()});
}

std::vector<ports::PortNotice> PortWatch::OnPortsArrived(std::span<const ports::SerialPort> added) {
    return m_onArrival ? m_onArrival(added) : std::vector<ports::PortNotice>{};
}

void PortWatch::SetTooltip(std::u16string_view tip) {
    m_icon.SetTip(tip);
}

} // namespace portmaven::win
