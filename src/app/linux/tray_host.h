// The program's host on the Linux desktop: the tray icon, the menu it opens, the actions of
// that menu, and the notices when serial ports come and go. It lives for the program's whole
// run.
#pragma once

#include "access/holder_lookup.h"
#include "access/linux/holder_scan_worker.h"
#include "access/linux/port_access_notes.h"
#include "app/linux/tray_wait.h"
#include "arrival/arrival_runs.h"
#include "config/command_list_owner.h"
#include "config/linux/command_store.h"
#include "config/linux/notify_setting.h"
#include "config/notify_setting.h"
#include "ports/linux/desktop_notifier.h"
#include "ports/linux/port_notices.h"
#include "ports/serial_port.h"
#include "tray/linux/dbus_menu.h"
#include "tray/linux/status_notifier_item.h"
#include "tray/menu_choice.h"

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

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
    void ShowIcon();
    // A click on the item where a panel hosts it, at the pointer.
    void OnItemClicked();
    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    void OpenMenuAtPointer();
    // A click on a notice, or its button: the default command of the one board it told of,
    // while the board is there, with the settings of this moment. False when it runs nothing.
    bool RunNoticedBoardCommand(const std::optional<ports::PortNotice>& notice);
    // Brings the menu up to date with the ports of this moment, and who holds them open.
    void RefreshMenu();
    // A look for the ports' holders ended: the details lines say what it found.
    void OnHoldersAnswer(const access::HolderScanAnswer& answer);
    // After the user renamed, hid or showed a port: the menu lists the ports anew.
    void OnDeviceSettingsChanged();
    // Fills the menu again when the ports differ from those it lists, or when forced (the
    // command list changed); when only who holds them changed, writes the details lines in
    // place. The ports say what is known of their holders.
    void RebuildMenu(std::span<const ports::SerialPort> present, bool force);
    // Runs an action once the event that started it is done with its sender: a menu action
    // may fill the menu again, which deletes the entry that was chosen.
    void Later(std::function<void()> action);
    // A menu action, run later; while a dialog of the program is open, that dialog comes to
    // the front instead (a panel may show the menu whatever the program does).
    void LaterFromMenu(std::function<void()> action);
    void OnLaunchCommand(std::span<const ports::SerialPort> ports,
                         const tray::CommandChoice& choice);
    void OnMenuProperties();
    void OnMenuAbout();
    void OnMenuExit();
    void ShowNotice(const ports::PortNotice& notice);
    // Qt's own balloon on an XEmbed tray, and where no notification service answers.
    void ShowBalloon(const ports::PortNotice& notice);
    void SetTooltip(const QString& tip);

    QIcon image_;
    QString tooltip_;
    // Who holds the ports open, looked for away from the GUI thread as the menu opens; every
    // fill of the menu says what is known of it.
    HolderScanWorker holderScanner_;
    access::HolderLookup holders_;
    // The one menu of the whole run, in two forms filled from the same model: Qt's, shown on an
    // XEmbed tray and at the pointer, and the one a StatusNotifierItem host reads, whose texts
    // follow the panel's own escaping.
    QMenu menu_;
    DBusMenu panelMenu_;
    // The ports the menu lists, in menu order; each fill's commands keep that fill's list.
    std::shared_ptr<const std::vector<ports::SerialPort>> menuPorts_;
    // The port watcher has given the menu its ports at least once.
    bool menuFollowsWatcher_ = false;
    // Made once a tray is there to show it: Qt's icon on an XEmbed tray, the program's own
    // item where a StatusNotifierItem host is.
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::unique_ptr<StatusNotifierItem> item_;
    std::unique_ptr<TrayWaiter> trayWaiter_;
    QTimer later_;
    std::vector<std::function<void()>> laterActions_;
    // The command list, read at start and written at Exit.
    CommandFileStore commandStore_;
    config::CommandListOwner commands_{commandStore_};
    IniNotifySetting notifySetting_;
    DesktopNotifier notifier_;
    // What boards started on arrival; the notices below report arrivals to it.
    arrival::ArrivalRuns arrivals_;
    // Watches the modem manager; told of arrivals by the notices below.
    PortAccessNotes accessNotes_{[this] { RefreshMenu(); }};
    // It reports to the icon and menu above from the moment it exists.
    PortNotices notices_;
    // The notices' switch: applied at start and whenever Configure stores it.
    config::AppliedNotifySetting notifySwitch_{
        notifySetting_, [this](bool enabled) { notices_.SetNotificationsEnabled(enabled); }};
};

} // namespace portmaven::linux_desktop
