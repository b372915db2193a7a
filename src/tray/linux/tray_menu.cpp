#include "tray/linux/tray_menu.h"

#include "common/guarded.h"
#include "tray/linux/menu_icons.h"

#include <QAction>
#include <QIcon>
#include <QMenu>

namespace portmaven::linux_desktop {

namespace {

QString Text(std::u16string_view text) {
    return QStringView(text).toString();
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
    QAction* action = menu.addAction(MenuIconImage(entry.icon), Text(entry.text));
    action->setEnabled(!entry.greyed);
    return action;
}

void FillPort(QMenu& submenu, const tray::MenuEntry& port, const tray::TrayMenuModel& model,
              const TrayMenuActions& actions);

// port: the port entry the level belongs to, which its commands and own items act on.
void FillLevel(QMenu& menu, const std::vector<tray::MenuEntry>& entries,
               const tray::TrayMenuModel& model, const TrayMenuActions& actions,
               const tray::MenuEntry* port) {
    for (const tray::MenuEntry& entry : entries) {
        switch (entry.kind) {
        case tray::MenuEntry::Kind::Separator:
            menu.addSeparator();
            break;
        case tray::MenuEntry::Kind::Port: {
            // Parented to the menu, so that deleting the menu's submenus takes it along.
            auto* submenu = new QMenu(Text(entry.text), &menu);
            submenu->setIcon(MenuIconImage(entry.icon));
            FillPort(*submenu, entry, model, actions);
            menu.addMenu(submenu);
            break;
        }
        case tray::MenuEntry::Kind::Submenu: {
            auto* submenu = new QMenu(Text(entry.text), &menu);
            FillLevel(*submenu, entry.children, model, actions, port);
            menu.addMenu(submenu);
            break;
        }
        case tray::MenuEntry::Kind::Item:
            ConnectGuarded(AddItem(menu, entry), HandlerOf(entry, port, actions));
            break;
        }
    }
}

void FillPort(QMenu& submenu, const tray::MenuEntry& port, const tray::TrayMenuModel& model,
              const TrayMenuActions& actions) {
    FillLevel(submenu, model.commandItems, model, actions, &port);
    FillLevel(submenu, port.children, model, actions, &port);
}

} // namespace

void FillTrayMenu(QMenu& menu, const tray::TrayMenuModel& model, const TrayMenuActions& actions) {
    menu.clear();
    for (QMenu* submenu : menu.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) {
        delete submenu;
    }
    FillLevel(menu, model.entries, model, actions, nullptr);
}

} // namespace portmaven::linux_desktop
