#include "ports/win/port_notices.h"

#include <utility>

namespace portmaven::win {

PortNotices::PortNotices(HWND window, TrayIcon& icon, ArrivalHandler onArrival)
    : m_platform(window, icon, std::move(onArrival)), m_watcher(m_platform, kTrayNoticeSizes),
      // Without the registration the ports' own broadcasts and DBT_DEVNODES_CHANGED still come.
      m_registration(RegisterSerialPortNotification(window)) {
    m_watcher.Seed();
}

void PortNotices::OnDeviceChange(WPARAM event, LPARAM data) {
    if (IsSerialPortDeviceChange(event, data)) {
        m_watcher.OnChangeSignal();
    }
}

bool PortNotices::OnTimer(UINT_PTR timerId) {
    if (timerId != kPortChangeTimerId) {
        return false;
    }
    m_watcher.OnTimer();
    return true;
}

void PortNotices::OnTrayIconAdded() {
    m_watcher.Seed();
}

} // namespace portmaven::win
