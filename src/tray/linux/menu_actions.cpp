#include "tray/linux/menu_actions.h"

#include "tray/port_details.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

namespace portmaven::linux_desktop {

namespace {

// A port's own action, bound to the entry's port.
std::function<void()> ForPort(const std::function<void(std::size_t)>& handler,
                              std::size_t portIndex) {
    if (!handler) {
        return {};
    }
    return [handler, portIndex] { handler(portIndex); };
}

} // namespace

std::function<void()> HandlerOf(const tray::MenuEntry& entry, const tray::MenuEntry* port,
                                const TrayMenuActions& actions) {
    switch (entry.action) {
    case tray::MenuAction::LaunchCommand:
        if (port == nullptr || !actions.launch) {
            return {};
        }
        return [launch = actions.launch, portIndex = port->port, commandIndex = entry.command] {
            launch(portIndex, commandIndex);
        };
    case tray::MenuAction::CopyPortName:
        return ForPort(actions.copyPortName, entry.port);
    case tray::MenuAction::CopyFixCommand:
        return ForPort(actions.copyFixCommand, entry.port);
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
    case tray::MenuAction::DeviceManager:
        return {};
    }
    return {};
}

void CopyFixCommand(const ports::SerialPort& port) {
    const std::u16string command = tray::FixCommandText(port);
    if (!command.empty()) {
        QGuiApplication::clipboard()->setText(QStringView(command).toString());
    }
}

} // namespace portmaven::linux_desktop
