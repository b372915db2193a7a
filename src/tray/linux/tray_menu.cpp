#include "tray/linux/tray_menu.h"

#include "common/guarded.h"

#include <QAction>
#include <QFont>
#include <QIcon>
#include <QMenu>

namespace portmaven::linux_desktop {

namespace {

QString Text(std::u16string_view text) {
    return QStringView(text).toString();
}

// The desktop theme's picture for an icon of the model; none where the theme has none.
QIcon ThemeIcon(tray::MenuIcon icon) {
    switch (icon) {
    case tray::MenuIcon::None:
        return {};
    case tray::MenuIcon::Port:
        return QIcon::fromTheme(QStringLiteral("network-wired"));
    case tray::MenuIcon::Command:
        return QIcon::fromTheme(QStringLiteral("utilities-terminal"));
    case tray::MenuIcon::DeviceManager:
        return QIcon::fromTheme(QStringLiteral("computer"));
    case tray::MenuIcon::Properties:
        return QIcon::fromTheme(QStringLiteral("preferences-system"));
    case tray::MenuIcon::About:
        return QIcon::fromTheme(QStringLiteral("help-about"));
    case tray::MenuIcon::Exit:
        return QIcon::fromTheme(QStringLiteral("application-exit"));
    }
    return {};
}

// A port's own action, bound to the entry's port.
std::function<void()> ForPort(const std::function<void(std::size_t)>& handler,
                              std::size_t portIndex) {
    if (!handler) {
        return {};
    }
    return [handler, portIndex] { handler(portIndex); };
}

// The handler of an item's action; empty for those this platform has no use for. Commands are
// wired by the port they are listed under.
std::function<void()> HandlerOf(const tray::MenuEntry& entry, const TrayMenuActions& actions) {
    switch (entry.action) {
    case tray::MenuAction::CopyPortName:
        return ForPort(actions.copyPortName, entry.port);
    case tray::MenuAction::PortSettings:
        return ForPort(actions.portSettings, entry.port);
    case tray::MenuAction::HidePort:
        return ForPort(actions.hidePort, entry.port);
    case tray::MenuAction::ShowPort:
        return ForPort(actions.showPort, entry.port);
    case tray::MenuAction::Properties:
        return actions.properties;
    case tray::MenuAction::About:
        return actions.about;
    case tray::MenuAction::Exit:
        return actions.exit;
    case tray::MenuAction::None:
    case tray::MenuAction::LaunchCommand:
    case tray::MenuAction::DeviceManager:
        return {};
    }
    return {};
}

// Runs a menu action's handler; the menu has closed by then, nothing may escape to Qt.
void ConnectGuarded(QAction* action, std::function<void()> handler) {
    if (!handler) {
        return;
    }
    QObject::connect(action, &QAction::triggered, action,
                     [handler = std::move(handler)] { common::RunGuarded(handler); });
}

QAction* AddItem(QMenu& menu, const tray::MenuEntry& entry) {
    QAction* action = menu.addAction(ThemeIcon(entry.icon), Text(entry.text));
    action->setEnabled(!entry.greyed);
    return action;
}

void FillPort(QMenu& submenu, const tray::MenuEntry& port, const tray::TrayMenuModel& model,
              const TrayMenuActions& actions);

void FillLevel(QMenu& menu, const std::vector<tray::MenuEntry>& entries,
               const tray::TrayMenuModel& model, const TrayMenuActions& actions) {
    for (const tray::MenuEntry& entry : entries) {
        switch (entry.kind) {
        case tray::MenuEntry::Kind::Separator:
            menu.addSeparator();
            break;
        case tray::MenuEntry::Kind::Port: {
            // Parented to the menu, so that deleting the menu's submenus takes it along.
            auto* submenu = new QMenu(Text(entry.text), &menu);
            submenu->setIcon(ThemeIcon(entry.icon));
            FillPort(*submenu, entry, model, actions);
            menu.addMenu(submenu);
            break;
        }
        case tray::MenuEntry::Kind::Submenu: {
            auto* submenu = new QMenu(Text(entry.text), &menu);
            FillLevel(*submenu, entry.children, model, actions);
            menu.addMenu(submenu);
            break;
        }
        case tray::MenuEntry::Kind::Item:
            ConnectGuarded(AddItem(menu, entry), HandlerOf(entry, actions));
            break;
        }
    }
}

void FillPort(QMenu& submenu, const tray::MenuEntry& port, const tray::TrayMenuModel& model,
              const TrayMenuActions& actions) {
    for (const tray::MenuEntry& item : model.commandItems) {
        QAction* action = AddItem(submenu, item);
        if (item.action == tray::MenuAction::LaunchCommand && item.command == port.command) {
            // Qt's own menus show the default command bold; panels that draw the exported menu
            // themselves may not.
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
        }
        if (item.action == tray::MenuAction::LaunchCommand && actions.launch) {
            ConnectGuarded(action,
                           [launch = actions.launch, portIndex = port.port,
                            commandIndex = item.command] { launch(portIndex, commandIndex); });
        }
    }
    FillLevel(submenu, port.children, model, actions);
}

} // namespace

void FillTrayMenu(QMenu& menu, const tray::TrayMenuModel& model, const TrayMenuActions& actions) {
    menu.clear();
    for (QMenu* submenu : menu.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) {
        delete submenu;
    }
    FillLevel(menu, model.entries, model, actions);
}

} // namespace portmaven::linux_desktop
