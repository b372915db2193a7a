// Notices on a tray icon when serial ports come and go, for a Win32 window that owns the icon:
// the window forwards WM_DEVICECHANGE and WM_TIMER here, and the rest (registration, debounce,
// enumeration, balloon and tooltip) happens inside. Knows nothing of the window's class.
#pragma once

#include "ports/port_change_watcher.h"
#include "ports/win/port_device_change.h"
#include "ports/win/port_watch.h"

#include <windows.h>

#include <optional>

namespace portmaven::win {

class PortNotices {
public:
    // Registers `window` for the COM-port interface's arrivals and removals and learns the
    // ports present now, naming them in the tooltip of its tray icon `icon`; no notice. The
    // icon outlives this object. Ports that arrive later go to `onArrival`.
    PortNotices(HWND window, TrayIcon& icon, ArrivalHandler onArrival = {});
    // The registration is released with this object.
    ~PortNotices() = default;

    PortNotices(const PortNotices&) = delete;
    PortNotices& operator=(const PortNotices&) = delete;
    PortNotices(PortNotices&&) = delete;
    PortNotices& operator=(PortNotices&&) = delete;

    // WM_DEVICECHANGE's wParam and lParam; events about other devices are ignored.
    void OnDeviceChange(WPARAM event, LPARAM data);
    // WM_TIMER's id; false when the timer is not the debounce's.
    bool OnTimer(UINT_PTR timerId);

    // The tray icon was added again (the shell restarted): its tooltip is the window's own
    // again, so it is named anew, without a notice.
    void OnTrayIconAdded();

    void SetNotificationsEnabled(bool enabled) noexcept {
        m_watcher.SetNotificationsEnabled(enabled);
    }

    // The last notice shown: what a click on the balloon is about.
    [[nodiscard]] const std::optional<ports::PortNotice>& LastNotice() const noexcept {
        return m_watcher.LastNotice();
    }

private:
    PortWatch m_platform;
    ports::PortChangeWatcher m_watcher;
    ScopedDeviceNotification m_registration;
};

} // namespace portmaven::win
