#include "ports/win/port_device_change.h"

#include <dbt.h>
#include <winioctl.h> // GUID_DEVINTERFACE_COMPORT, defined in libuuid

#include <cstddef>

namespace portmaven::win {

namespace {

bool IsSerialPortRecord(const DEV_BROADCAST_HDR& header) noexcept {
    switch (header.dbch_devicetype) {
    case DBT_DEVTYP_PORT:
        // LPT ports arrive this way too; the enumeration that follows finds only COM ports.
        return true;
    case DBT_DEVTYP_DEVICEINTERFACE: {
        // The record's own size says how much of it the sender filled in.
        if (header.dbch_size < offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name)) {
            return false;
        }
        const auto& record = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W&>(header);
        return ::IsEqualGUID(record.dbcc_classguid, GUID_DEVINTERFACE_COMPORT) != FALSE;
    }
    default:
        return false;
    }
}

} // namespace

ScopedDeviceNotification RegisterSerialPortNotification(HWND window) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = GUID_DEVINTERFACE_COMPORT;
    return ScopedDeviceNotification(
        ::RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
}

bool IsSerialPortDeviceChange(WPARAM event, LPARAM data) noexcept {
    switch (event) {
    case DBT_DEVNODES_CHANGED:
        return true;
    case DBT_DEVICEARRIVAL:
    case DBT_DEVICEREMOVECOMPLETE: {
        const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
        return header != nullptr && header->dbch_size >= sizeof(DEV_BROADCAST_HDR) &&
               IsSerialPortRecord(*header);
    }
    default:
        return false;
    }
}

} // namespace portmaven::win
