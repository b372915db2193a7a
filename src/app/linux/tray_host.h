// The program's host on the Linux desktop: the tray icon, the menu it opens, and the actions
// of that menu. It lives for the program's whole run.
#pragma once

#include "ports/serial_port.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <memory>
#include <vector>

class QMenu;

namespace portmaven::qt {

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

    QSystemTrayIcon icon_;
    // The menu of the last click; replaced at the next one, so that it outlives its actions.
    std::unique_ptr<QMenu> menu_;
    // The ports the menu lists, in menu order.
    std::vector<ports::SerialPort> ports_;
};

} // namespace portmaven::qt
