#include "ports/linux/tray_menu.h"

#include "common/guarded.h"

#include <QAction>
#include <QIcon>
#include <QMenu>

namespace portmaven::linux_desktop {

namespace {

QString Text(std::u16string_view text) {
    return QStringView(text).toString();
}

// The desktop theme's picture for an icon of the model; none where the theme has none.
QIcon ThemeIcon(ports::MenuIcon icon) {
    switch (icon) {
    case ports::MenuIcon::None:
        return {};
    case ports::MenuIcon::Port:
        return QIcon::fromTheme(QStringLiteral("network-wired"));
    case ports::MenuIcon::Command:
        return QIcon::fromTheme(QStringLiteral("utilities-terminal"));
    case ports::MenuIcon::DeviceManager:
        return QIcon::fromTheme(QStringLiteral("computer"));
    case ports::MenuIcon::Properties:
        return QIcon::fromTheme(QStringLiteral("preferences-system"));
    case ports::MenuIcon::About:
        return QIcon::fromTheme(QStringLiteral("help-about"));
    case ports::MenuIcon::Exit:
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
std::function<void()> HandlerOf(const ports::MenuEntry& entry, const TrayMenuActions& actions) {
    switch (entry.action) {
    case ports::MenuAction::CopyPortName:
        return ForPort(actions.copyPortName, entry.port);
    case ports::MenuAction::RenamePort:
        return ForPort(actions.renamePort, entry.port);
    case ports::MenuAction::HidePort:
        return ForPort(actions.hidePort, entry.port);
    case ports::MenuAction::ShowPort:
        return ForPort(actions.showPort, entry.port);
    case ports::MenuAction::Properties:
        return actions.properties;
    case ports::MenuAction::About:
        return actions.about;
    case ports::MenuAction::Exit:
        return actions.exit;
    case ports::MenuAction::None:
    case ports::MenuAction::LaunchCommand:
    case ports::MenuAction::DeviceManager:
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

QAction* AddItem(QMenu& menu, const ports::MenuEntry& entry) {
    QAction* action = menu.addAction(ThemeIcon(entry.icon), Text(entry.text));
    action->setEnabled(!entry.greyed);
    return action;
}

void FillPort(QMenu& submenu, const ports::MenuEntry& port, const ports::TrayMenuModel& model,
              const TrayMenuActions& actions);

void FillLevel(QMenu& menu, const std::vector<ports::MenuEntry>& entries,
               const ports::TrayMenuModel& model, const TrayMenuActions& actions) {
    for (const ports::MenuEntry& entry : entries) {
        switch (entry.kind) {
        case ports::MenuEntry::Kind::Separator:
            menu.addSeparator();
            break;
        case ports::MenuEntry::Kind::Port: {
            // Parented to the menu, so that deleting the menu's submenus takes it along.
            auto* submenu = new QMenu(Text(entry.text), &menu);
            submenu->setIcon(ThemeIcon(entry.icon));
            FillPort(*submenu, entry, model, actions);
            menu.addMenu(submenu);
            break;
        }
        case ports::MenuEntry::Kind::Submenu: {
            auto* submenu = new QMenu(Text(entry.text), &menu);
            FillLevel(*submenu, entry.children, model, actions);
            menu.addMenu(submenu);
            break;
        }
        case ports::MenuEntry::Kind::Item:
            ConnectGuarded(AddItem(menu, entry), HandlerOf(entry, actions));
            break;
        }
    }
}

void FillPort(QMenu& submenu, const ports::MenuEntry& port, const ports::TrayMenuModel& model,
              const TrayMenuActions& actions) {
    for (const ports::MenuEntry& item : model.commandItems) {
        QAction* action = AddItem(submenu, item);
        if (item.action == ports::MenuAction::LaunchCommand && actions.launch) {
            ConnectGuarded(action,
                           [launch = actions.launch, portIndex = port.port,
                            commandIndex = item.command] { launch(portIndex, commandIndex); });
        }
    }
    FillLevel(submenu, port.children, model, actions);
}

} // namespace

void FillTrayMenu(QMenu& menu, const ports::TrayMenuModel& model, const TrayMenuActions& actions) {
    menu.clear();
    for (QMenu* submenu : menu.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) {
        delete submenu;
    }
    FillLevel(menu, model.entries, model, actions);
}

std::unique_ptr<QMenu> BuildTrayMenu(const ports::TrayMenuModel& model,
                                     const TrayMenuActions& actions) {
    auto menu = std::make_unique<QMenu>();
    FillTrayMenu(*menu, model, actions);
    return menu;
}

} // namespace portmaven::linux_desktop
