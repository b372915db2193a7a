#include "tray/linux/tray_menu.h"

#include "common/guarded.h"
#include "tray/linux/menu_icons.h"

#include <QAction>
#include <QFont>
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

// Whether an item shows its port's default command, in bold.
bool IsDefaultCommand(const tray::MenuEntry& entry, const tray::MenuEntry* port) {
    return port != nullptr && entry.action == tray::MenuAction::LaunchCommand &&
           entry.command == port->command;
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
        case tray::MenuEntry::Kind::Item: {
            QAction* action = AddItem(menu, entry);
            if (IsDefaultCommand(entry, port)) {
                // Qt's own menus show the port's default command bold; panels that draw the
                // exported menu themselves may not.
                QFont bold = action->font();
                bold.setBold(true);
                action->setFont(bold);
            }
            ConnectGuarded(action, HandlerOf(entry, port, actions));
            break;
        }
        }
    }
}

void FillPort(QMenu& submenu, const tray::MenuEntry& port, const tray::TrayMenuModel& model,
              const TrayMenuActions& actions) {
    FillLevel(submenu, model.commandItems, model, actions, &port);
    FillLevel(submenu, port.children, model, actions, &port);
}

// Walks the menu's entries from `at` beside the model's; with `apply`, writes the model's texts
// and states into them. False where an entry is not of the model's kind.
bool WalkLevel(const QList<QAction*>& menu, qsizetype& at,
               const std::vector<tray::MenuEntry>& entries, const tray::TrayMenuModel& model,
               const tray::MenuEntry* port, bool apply);

bool WalkSubmenu(QAction* action, const tray::MenuEntry& entry, const tray::TrayMenuModel& model,
                 const tray::MenuEntry* port, bool apply) {
    QMenu* submenu = action->menu();
    if (submenu == nullptr) {
        return false;
    }
    if (apply) {
        submenu->setTitle(Text(entry.text));
    }
    const QList<QAction*> inside = submenu->actions();
    qsizetype at = 0;
    if (entry.kind == tray::MenuEntry::Kind::Port &&
        !WalkLevel(inside, at, model.commandItems, model, &entry, apply)) {
        return false;
    }
    const tray::MenuEntry* owner = entry.kind == tray::MenuEntry::Kind::Port ? &entry : port;
    return WalkLevel(inside, at, entry.children, model, owner, apply) && at == inside.size();
}

bool WalkLevel(const QList<QAction*>& menu, qsizetype& at,
               const std::vector<tray::MenuEntry>& entries, const tray::TrayMenuModel& model,
               const tray::MenuEntry* port, bool apply) {
    for (const tray::MenuEntry& entry : entries) {
        if (at >= menu.size()) {
            return false;
        }
        QAction* action = menu[at++];
        switch (entry.kind) {
        case tray::MenuEntry::Kind::Separator:
            if (!action->isSeparator()) {
                return false;
            }
            break;
        case tray::MenuEntry::Kind::Port:
        case tray::MenuEntry::Kind::Submenu:
            if (!WalkSubmenu(action, entry, model, port, apply)) {
                return false;
            }
            break;
        case tray::MenuEntry::Kind::Item:
            if (action->isSeparator() || action->menu() != nullptr ||
                action->font().bold() != IsDefaultCommand(entry, port)) {
                return false;
            }
            if (apply) {
                action->setText(Text(entry.text));
                action->setEnabled(!entry.greyed);
            }
            break;
        }
    }
    return true;
}

} // namespace

bool UpdateTrayMenuTexts(QMenu& menu, const tray::TrayMenuModel& model) {
    const QList<QAction*> actions = menu.actions();
    for (const bool apply : {false, true}) {
        qsizetype at = 0;
        if (!WalkLevel(actions, at, model.entries, model, nullptr, apply) || at != actions.size()) {
            return false;
        }
    }
    return true;
}

void FillTrayMenu(QMenu& menu, const tray::TrayMenuModel& model, const TrayMenuActions& actions) {
    menu.clear();
    for (QMenu* submenu : menu.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) {
        delete submenu;
    }
    FillLevel(menu, model.entries, model, actions, nullptr);
}

} // namespace portmaven::linux_desktop
