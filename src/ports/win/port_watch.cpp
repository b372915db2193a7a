#include "ports/win/port_watch.h"

#include "ports/win/serial_port_enum.h"

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
    // Without an icon there is nowhere to show it; the next change tries again.
    m_icon.ShowBalloon({.title = notice.title, .text = notice.text});
}

void PortWatch::SetTooltip(std::u16string_view tip) {
    m_icon.SetTip(tip);
}

} // namespace portmaven::win
