#include "app/linux/tray_menu_qt.h"

#include "common/guarded.h"
#include "ports/menu_ids.h"

#include <QAction>
#include <QMenu>

namespace portmaven::qt {

namespace {

QString Text(std::u16string_view text) {
    return QStringView(text).toString();
}

// Runs a menu action's handler; the menu has closed by then, nothing may escape to Qt.
template <typename Handler>
void ConnectGuarded(QAction* action, QObject* context, Handler handler) {
    QObject::connect(action, &QAction::triggered, context,
                     [handler] { common::RunGuarded(handler); });
}

void FillCommands(QMenu* submenu, const std::vector<ports::MenuItemModel>& items,
                  std::size_t portIndex, const TrayMenuActions& actions) {
    for (const ports::MenuItemModel& item : items) {
        QAction* action = submenu->addAction(Text(item.text));
        if (item.greyed) {
            action->setEnabled(false);
            continue;
        }
        const int commandIndex = item.id - ports::kFirstCommandId;
        ConnectGuarded(action, submenu, [launch = actions.launch, portIndex, commandIndex] {
            launch(portIndex, commandIndex);
        });
    }
}

} // namespace

std::unique_ptr<QMenu> BuildTrayMenu(const ports::TrayMenuModel& model,
                                     const TrayMenuActions& actions) {
    auto menu = std::make_unique<QMenu>();
    for (std::size_t port = 0; port < model.portEntries.size(); ++port) {
        QMenu* submenu = menu->addMenu(Text(model.portEntries[port].label));
        QObject::connect(submenu, &QMenu::aboutToShow, submenu,
                         [submenu, items = model.commandItems, port, actions] {
                             common::RunGuarded([&] {
                                 if (submenu->isEmpty()) {
                                     FillCommands(submenu, items, port, actions);
                                 }
                             });
                         });
    }
    for (const ports::MenuItemModel& item : model.topItems) {
        menu->addAction(Text(item.text))->setEnabled(!item.greyed);
    }
    menu->addSeparator();
    QMenu* raw = menu.get();
    ConnectGuarded(menu->addAction(QStringLiteral("Properties")), raw, actions.properties);
    ConnectGuarded(menu->addAction(QStringLiteral("About Portmaven")), raw, actions.about);
    ConnectGuarded(menu->addAction(QStringLiteral("Exit")), raw, actions.exit);
    return menu;
}

} // namespace portmaven::qt
