// What the menu says about a port the user may fail to open: no access to its node, and a
// modem manager that may be probing a board that has just arrived. The modem manager is watched
// on the system bus without ever waiting for it: its name's owner is asked once at start and
// followed from then on; no system bus means it does not run.
#pragma once

#include "access/modem_probe.h"
#include "ports/serial_port.h"

#include <QDBusServiceWatcher>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace portmaven::linux_desktop {

// The modem manager's name on the system bus.
inline constexpr char kModemManagerService[] = "org.freedesktop.ModemManager1";

// udev marks the device behind the node (ID_MM_DEVICE_IGNORE=1) as none of the modem
// manager's business.
bool UdevTellsModemManagerToIgnore(std::u16string_view node);

class PortAccessNotes final : public QObject {
public:
    // changed runs when what the notes say may have changed without the ports changing: the
    // modem manager started or stopped, or a fresh port's probing time has passed.
    explicit PortAccessNotes(std::function<void()> changed);
    ~PortAccessNotes() override;
    PortAccessNotes(const PortAccessNotes&) = delete;
    PortAccessNotes& operator=(const PortAccessNotes&) = delete;
    PortAccessNotes(PortAccessNotes&&) = delete;
    PortAccessNotes& operator=(PortAccessNotes&&) = delete;

    // The port watch saw these ports arrive.
    void OnPortsArrived(std::span<const ports::SerialPort> arrived);
    // Sets each port's access: no access to its node, and whether it may be probed now.
    void Note(std::vector<ports::SerialPort>& ports);

private:
    void SetServiceRunning(bool running);
    void ScheduleExpiry();
    void TellChanged();

    std::function<void()> changed_;
    access::ModemProbeWatch probes_;
    std::unique_ptr<QDBusServiceWatcher> serviceWatcher_;
    // When the first note still shown ends.
    QTimer expiry_;
    // Right after an arrival has been handled, so that a panel that shows a copy of the menu
    // fetched earlier gets the note too.
    QTimer soon_;
};

} // namespace portmaven::linux_desktop
