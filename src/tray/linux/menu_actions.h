// What the entries of the tray menu do on Linux, shared by the Qt menu and the menu exported to
// a panel: the host's handlers, and which one an entry of the model runs.
#pragma once

#include "ports/serial_port.h"
#include "tray/tray_menu_model.h"

#include <cstddef>
#include <functional>

namespace portmaven::linux_desktop {

struct TrayMenuActions {
    // The command at commandIndex of the command list, chosen under the port at portIndex of
    // the ports the model was built from.
    std::function<void(std::size_t portIndex, int commandIndex)> launch;
    // A port's own items, and a hidden port chosen under "Hidden Ports"; each gets the port's
    // index in the ports the model was built from.
    std::function<void(std::size_t portIndex)> copyPortName{};
    std::function<void(std::size_t portIndex)> copyFixCommand{};
    std::function<void(std::size_t portIndex)> portSettings{};
    std::function<void(std::size_t portIndex)> hidePort{};
    std::function<void(std::size_t portIndex)> showPort{};
    std::function<void()> properties;
    std::function<void()> about;
    std::function<void()> exit;
};

// The handler of an item chosen under `port` (a port entry, for its commands and own items;
// ignored for the rest); empty for entries this platform has no use for.
std::function<void()> HandlerOf(const tray::MenuEntry& entry, const tray::MenuEntry* port,
                                const TrayMenuActions& actions);

// Puts the command that lets the user open the port on the clipboard, for the user to run:
// the program never runs it itself.
void CopyFixCommand(const ports::SerialPort& port);

} // namespace portmaven::linux_desktop
