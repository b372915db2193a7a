#include "app/linux/tray_host.h"

#include "about/linux/about_dialog.h"
#include "arrival/notice_click.h"
#include "common/guarded.h"
#include "common/program_texts.h"
#include "config/linux/open_configure.h"
#include "config/linux/xdg_config.h"
#include "launch/linux/launch.h"
#include "ports/linux/port_actions.h"
#include "ports/linux/serial_port_enum.h"
#include "launch/launch_texts.h"
#include "tray/linux/tray_menu.h"
#include "tray/menu_choice.h"
#include "tray/port_details.h"
#include "tray/tray_menu_model.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QMessageBox>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <utility>

namespace portmaven::linux_desktop {

namespace {

// A look for holders not done by then says nothing about use: the menu would show an answer
// that is stale by the time it comes.
constexpr std::chrono::milliseconds kHolderLookDeadline{300};
// A panel asks before it shows the menu and each submenu: within this time of an answer, that
// answer stands for the same ports.
constexpr std::chrono::seconds kHolderAnswerFresh{1};
// A panel started with the session may come up well after the programs it autostarts.
constexpr std::chrono::minutes kTrayWaitLimit{3};
// Where the menu a panel reads is served, beside the item on the session bus.
const QString kPanelMenuPath = QStringLiteral("/MenuBar");

bool IsWayland() {
    return QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

// With $PORTMAVEN_MENU_TRACE naming a file, each fill of the menu appends the number of menus
// the program holds, so that a test can see none outlive the fill that replaced them.
void TraceMenus() {
    static const QString path = qEnvironmentVariable("PORTMAVEN_MENU_TRACE");
    if (path.isEmpty()) {
        return;
    }
    const QWidgetList widgets = QApplication::allWidgets();
    const auto menus = std::count_if(widgets.begin(), widgets.end(), [](const QWidget* widget) {
        return qobject_cast<const QMenu*>(widget) != nullptr;
    });
    QFile file(path);
    if (file.open(QIODevice::Append | QIODevice::Text)) {
        file.write("menus " + QByteArray::number(static_cast<qlonglong>(menus)) + "\n");
    }
}

// While a dialog of the program runs (each runs modally, in a loop of its own), brings it to
// the front; false when none is open.
bool RaiseOpenDialog() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) {
        return false;
    }
    dialog->raise();
    dialog->activateWindow();
    return true;
}

// Whether two ports show the same in the menu: the same port, and the same name of the user's,
// hidden flag, default command and holders (which do not make a port change of their own).
bool SameInMenu(const ports::SerialPort& a, const ports::SerialPort& b) {
    return a == b && a.userName == b.userName && a.hidden == b.hidden && a.usedBy == b.usedBy &&
           a.launch == b.launch && a.access == b.access;
}

// Whether two ports show the same in the menu but for who holds them open.
bool SameButHolders(const ports::SerialPort& a, const ports::SerialPort& b) {
    ports::SerialPort withHoldersOfA = b;
    withHoldersOfA.usedBy = a.usedBy;
    return SameInMenu(a, withHoldersOfA);
}

// The action of a notice that runs the default command of the board it tells of.
const QString kRunCommandNoticeAction = QStringLiteral("run-default-command");

} // namespace

TrayHost::TrayHost(const QIcon& icon)
    : image_(icon), tooltip_(QStringView(common::kProgramTitle).toString()),
      holderScanner_([this](const access::HolderScanAnswer& answer) { OnHoldersAnswer(answer); },
                     kHolderLookDeadline),
      holders_(holderScanner_, kHolderLookDeadline, kHolderAnswerFresh),
      panelMenu_([this] { RefreshMenu(); }), commandStore_(DefaultConnectCommandLine()),
      notifySetting_(SettingsFilePath()), notifier_(icon),
      notices_({.showNotice = [this](const ports::PortNotice& notice) { ShowNotice(notice); },
                .setTooltip =
                    [this](std::u16string_view tip) {
                        SetTooltip(QStringView(tip).toString());
                        // The watcher has just learnt the ports: the menu lists them too.
                        RebuildMenu(notices_.Ports(), false);
                        menuFollowsWatcher_ = true;
                    },
                .portsArrived =
                    [this](std::span<const ports::SerialPort> added) {
                        accessNotes_.OnPortsArrived(added);
                        return arrivals_.OnPortsArrived(added, commands_.List(),
                                                        StartCommandForPort);
                    }},
               SettingsFilePath()) {
    commands_.LoadOnce();
    // A host that asks before showing (KDE, XFCE) gets the ports of that moment; one that
    // shows a copy it fetched earlier (GNOME) has the menu the port watcher keeps current.
    later_.setSingleShot(true);
    connect(&later_, &QTimer::timeout, this, [this] {
        for (const std::function<void()>& action : std::exchange(laterActions_, {})) {
            common::RunGuarded(action);
        }
    });
    connect(&menu_, &QMenu::aboutToShow, this,
            [this] { common::RunGuarded([this] { RefreshMenu(); }); });
    notifySwitch_.Apply();
    notices_.Seed();
    if (!menuPorts_) {
        // udev could not be asked: the menu still offers the program's own entries.
        RebuildMenu({}, true);
    }

    if (StatusNotifierHostPresent() || (!IsWayland() && XEmbedTrayPresent())) {
        ShowIcon();
    } else {
        trayWaiter_ = std::make_unique<TrayWaiter>(kTrayWaitLimit, [this] {
            // Later: the waiter is still in its own timer's signal.
            Later([this] {
                trayWaiter_.reset();
                ShowIcon();
            });
        });
    }
}

TrayHost::~TrayHost() = default;

void TrayHost::ShowIcon() {
    if (CurrentTrayKind() == TrayKind::StatusNotifier) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        panelMenu_.Export(bus, kPanelMenuPath);
        item_ = std::make_unique<StatusNotifierItem>(
            bus, image_, kPanelMenuPath,
            StatusNotifierCalls{.activate = [this](int, int) { OnItemClicked(); },
                                .contextMenu = [this](int, int) { OnItemClicked(); }});
        item_->SetToolTip(tooltip_);
        RebuildMenu(menuPorts_ ? *menuPorts_ : std::vector<ports::SerialPort>{}, true);
        return;
    }
    icon_ = std::make_unique<QSystemTrayIcon>(image_);
    icon_->setToolTip(tooltip_);
    icon_->setContextMenu(&menu_);
    connect(icon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                common::RunGuarded([&] { OnActivated(reason); });
            });
    // Qt's own balloon reports a click on it: the board's default command, or what a click on
    // the icon does.
    connect(icon_.get(), &QSystemTrayIcon::messageClicked, this, [this] {
        common::RunGuarded([this] {
            if (!RunNoticedBoardCommand(notices_.LastNotice())) {
                OpenMenuAtPointer();
            }
        });
    });
    icon_->show();
}

void TrayHost::OnItemClicked() {
    // The host shows the exported menu on a right click. Activate (a left click on KDE and
    // XFCE) or a host asking for a context menu opens the same menu at the pointer, except on
    // Wayland, where a menu without a parent window cannot be placed.
    if (!IsWayland()) {
        // Later: the panel's call is answered first.
        Later([this] { OpenMenuAtPointer(); });
    }
}

void TrayHost::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    if (RaiseOpenDialog()) {
        return;
    }
    // Qt opens the menu on a right press itself; the left button opens it here.
    if (reason == QSystemTrayIcon::Trigger) {
        OpenMenuAtPointer();
    }
}

void TrayHost::OpenMenuAtPointer() {
    if (!RaiseOpenDialog()) {
        menu_.popup(QCursor::pos());
    }
}

bool TrayHost::RunNoticedBoardCommand(const std::optional<ports::PortNotice>& notice) {
    const std::vector<ports::SerialPort> present =
        EnumerateKnownPorts(SettingsFilePath()).value_or(std::vector<ports::SerialPort>{});
    const tray::CommandChoice choice =
        arrival::NoticeClickChoice(notice, present, commands_.List());
    if (choice.command < 0) {
        return false;
    }
    OnLaunchCommand(present, choice);
    return true;
}

void TrayHost::RefreshMenu() {
    std::vector<ports::SerialPort> present;
    if (menuFollowsWatcher_ && notices_.IsSettled() && menuPorts_) {
        // The watcher hears of every change and the menu follows it, and of the user's names
        // and hidden ports the menu hears first: asking udev again would only repeat it.
        present = *menuPorts_;
    } else if (std::optional<std::vector<ports::SerialPort>> known =
                   EnumerateKnownPorts(SettingsFilePath())) {
        present = std::move(*known);
    } else {
        // When the ports cannot be asked for, the menu keeps the last ones known.
        return;
    }
    // Who holds a port open changes without any event: it is looked for as the menu opens,
    // and the menu shows at once what is known meanwhile.
    holders_.Refresh(present, access::ScanClock::now());
    RebuildMenu(present, false);
}

void TrayHost::OnHoldersAnswer(const access::HolderScanAnswer& answer) {
    if (holders_.OnAnswer(answer, access::ScanClock::now()) && menuPorts_) {
        const std::vector<ports::SerialPort> listed = *menuPorts_;
        RebuildMenu(listed, false);
    }
}

void TrayHost::OnDeviceSettingsChanged() {
    // A name or a hidden flag changed: the menu shows it at once, a host holding the layout
    // hears of it, and the ports keep their identity for the watcher (no notice follows).
    if (std::optional<std::vector<ports::SerialPort>> known =
            EnumerateKnownPorts(SettingsFilePath())) {
        RebuildMenu(*known, true);
    }
}

void TrayHost::RebuildMenu(std::span<const ports::SerialPort> present, bool force) {
    auto listed = std::make_shared<std::vector<ports::SerialPort>>(present.begin(), present.end());
    // What is known of the ports beyond udev is noted on every fill, whichever road led here
    // (the watcher's, a showing's, a changed setting's), so that no fill loses it.
    holders_.Note(*listed);
    accessNotes_.Note(*listed);
    std::shared_ptr<const std::vector<ports::SerialPort>> ports = std::move(listed);
    // Nothing changed: the entries stay as they are, with the ids a host already holds.
    if (!force && menuPorts_ && std::ranges::equal(*menuPorts_, *ports, SameInMenu)) {
        return;
    }
    const tray::TrayMenuModel model =
        tray::BuildTrayMenuModel(*ports, commands_.List(), tray::kLinuxLayout);
    // Each action works on the ports of the fill it belongs to, and runs once the menu has
    // closed: a fill deletes the entry that was clicked.
    // A port's own action, on a copy of that fill's port.
    const auto onPort = [this, ports](std::function<void(ports::SerialPort&)> action) {
        return [this, ports, action = std::move(action)](std::size_t port) {
            if (port < ports->size()) {
                LaterFromMenu([chosen = (*ports)[port], action]() mutable { action(chosen); });
            }
        };
    };
    const TrayMenuActions actions{
        .launch =
            [this, ports](std::size_t port, int command) {
                LaterFromMenu([this, ports, port, command] {
                    OnLaunchCommand(*ports, {.port = port, .command = command});
                });
            },
        .copyPortName = onPort([](ports::SerialPort& chosen) { CopyPortName(chosen); }),
        .copyFixCommand = onPort([](ports::SerialPort& chosen) { CopyFixCommand(chosen); }),
        .portSettings = onPort([this](ports::SerialPort& chosen) {
            // The heading says what the details line says now: a look may have answered since
            // this fill, whose lines were rewritten in place.
            holders_.Note(std::span(&chosen, 1));
            EditPortSettings(chosen, config::CommandNames(commands_.List()),
                             tray::PortHeadingText(chosen), SettingsFilePath());
            OnDeviceSettingsChanged();
        }),
        .hidePort = onPort([this](ports::SerialPort& chosen) {
            SetPortHidden(chosen, true, SettingsFilePath());
            OnDeviceSettingsChanged();
        }),
        .showPort = onPort([this](ports::SerialPort& chosen) {
            SetPortHidden(chosen, false, SettingsFilePath());
            OnDeviceSettingsChanged();
        }),
        .properties = [this] { LaterFromMenu([this] { OnMenuProperties(); }); },
        .about = [this] { LaterFromMenu([this] { OnMenuAbout(); }); },
        .exit = [this] { LaterFromMenu([this] { OnMenuExit(); }); }};
    // Only the holders changed: the details lines are written where they are, even in a menu on
    // the screen. The entries' actions keep their fill's ports, which differ only in holders.
    const bool onlyHolders =
        !force && menuPorts_ && std::ranges::equal(*menuPorts_, *ports, SameButHolders);
    const bool filled = !(onlyHolders && UpdateTrayMenuTexts(menu_, model));
    if (filled) {
        FillTrayMenu(menu_, model, actions);
    }
    // A panel reads the exported menu only where the item is; it is filled as the item is made.
    // It tells the panel only of the entries that changed.
    if (item_) {
        panelMenu_.SetModel(model, actions);
    }
    menuPorts_ = std::move(ports);
    if (filled) {
        TraceMenus();
    }
}

void TrayHost::Later(std::function<void()> action) {
    laterActions_.push_back(std::move(action));
    later_.start(0);
}

void TrayHost::LaterFromMenu(std::function<void()> action) {
    Later([action = std::move(action)] {
        if (!RaiseOpenDialog()) {
            action();
        }
    });
}

void TrayHost::OnLaunchCommand(std::span<const ports::SerialPort> ports,
                               const tray::CommandChoice& choice) {
    if (tray::LaunchCommandChoice(choice, ports, commands_.List(), LaunchCommandForPort) ==
        tray::LaunchOutcome::Invalid) {
        QMessageBox::critical(nullptr, QStringView(common::kProgramTitle).toString(),
                              QStringView(launch::kInvalidCommandText).toString());
    }
}

void TrayHost::OnMenuProperties() {
    OpenConfigureDialog(nullptr, commands_.List(), commands_.Saver(), notifySwitch_,
                        DefaultConnectCommandLine());
    // The commands may have changed.
    RebuildMenu(menuPorts_ ? *menuPorts_ : std::vector<ports::SerialPort>{}, true);
}

void TrayHost::OnMenuAbout() {
    ShowAboutBox(nullptr);
}

void TrayHost::OnMenuExit() {
    // A failed save is not reported: the program is ending, and the user can do nothing.
    commands_.SaveAtExit();
    if (icon_) {
        icon_->hide();
    }
    item_.reset();
    QApplication::quit();
}

void TrayHost::ShowNotice(const ports::PortNotice& notice) {
    // Before there is a tray, there is nowhere to show it.
    if (!icon_ && !item_) {
        return;
    }
    if (!item_) {
        ShowBalloon(notice);
        return;
    }
    // Sent by the program itself rather than through Qt's icon, which would show the notice at
    // low urgency. A notice about one board whose device has a default command offers it as a
    // button named after the command, and a click on the notice runs it too; other notices'
    // clicks only close them. It runs later: the service's call is answered first.
    std::vector<NoticeAction> actions{{.key = kDefaultNoticeAction, .label = {}, .run = {}}};
    const tray::CommandChoice choice =
        arrival::NoticeClickChoice(notice, notices_.Ports(), commands_.List());
    if (choice.command >= 0) {
        const auto run = [this, notice] {
            Later([this, notice] { RunNoticedBoardCommand(notice); });
        };
        actions.front().run = run;
        actions.push_back(
            {.key = kRunCommandNoticeAction,
             .label = QStringView(config::FieldText(commands_.List().At(choice.command).szName))
                          .toString(),
             .run = run});
    }
    notifier_.Show(QStringView(notice.title).toString(), QStringView(notice.namedText).toString(),
                   std::move(actions), [this, notice] { ShowBalloon(notice); });
}

void TrayHost::ShowBalloon(const ports::PortNotice& notice) {
    if (icon_) {
        icon_->showMessage(QStringView(notice.title).toString(),
                           QStringView(notice.text).toString(), QSystemTrayIcon::Information);
    }
}

void TrayHost::SetTooltip(const QString& tip) {
    tooltip_ = tip;
    if (icon_) {
        icon_->setToolTip(tip);
    }
    if (item_) {
        item_->SetToolTip(tip);
    }
}

} // namespace portmaven::linux_desktop
