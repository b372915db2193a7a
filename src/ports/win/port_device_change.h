// What the system says when serial ports come and go: the registration that makes it send the
// COM-port interface's arrivals and removals to a window, and the decoding of WM_DEVICECHANGE
// into "the serial ports may have changed". Which ports changed is left to an enumeration.
#pragma once

#include "framework/win/scoped_handle.h"

#include <windows.h>

namespace portmaven::win {

namespace handle_traits {

struct DeviceNotification {
    using Handle = HDEVNOTIFY;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::UnregisterDeviceNotification(h); }
};

} // namespace handle_traits

using ScopedDeviceNotification = ScopedHandle<handle_traits::DeviceNotification>;

// Asks for DBT_DEVTYP_DEVICEINTERFACE arrivals and removals of GUID_DEVINTERFACE_COMPORT to be
// sent to `window`; empty when the system refused.
ScopedDeviceNotification RegisterSerialPortNotification(HWND window);

// True for the WM_DEVICECHANGE events that may mean a serial port came or went: an arrival or a
// completed removal of a port (broadcast to every top-level window) or of the COM-port
// interface (sent after the registration above), and DBT_DEVNODES_CHANGED, which is all some
// virtual-port drivers send. `data` is the message's lParam.
bool IsSerialPortDeviceChange(WPARAM event, LPARAM data) noexcept;

} // namespace portmaven::win
