// The program's host on the Linux desktop: the tray icon, the menu it opens, the actions of
// that menu, and the notices when serial ports come and go. It lives for the program's whole
// run.
#pragma once

#include "config/linux/notify_setting.h"
#include "ports/linux/port_notices.h"
#include "ports/serial_port.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <memory>
#include <vector>

class QMenu;

namespace portmaven::linux_desktop {

class TrayHost final : public QObject {
public:
    explicit TrayHost(const QIcon& icon);
    ~TrayHost() override;
    TrayHost(const TrayHost&) = delete;
    TrayHost& operator=(const TrayHost&) = delete;
    TrayHost(TrayHost&&) = delete;
    TrayHost& operator=(TrayHost&&) = delete;

private:
    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    void ShowMenu();
    void OnLaunchCommand(std::size_t portIndex, int commandIndex);
    void OnMenuProperties();
    void OnMenuAbout();
    void OnMenuExit();
    void ShowNotice(const ports::PortNotice& notice);

    QSystemTrayIcon icon_;
    // The menu of the last click; replaced at the next one, so that it outlives its actions.
    std::unique_ptr<QMenu> menu_;
    // The ports the menu lists, in menu order.
    std::vector<ports::SerialPort> ports_;
    IniNotifySetting notifySetting_;
    // Last: it reports to the icon above from the moment it exists.
    PortNoticesQt notices_;
};

} // namespace portmaven::linux_desktop
