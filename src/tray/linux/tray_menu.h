// Turns the portable tray menu model into a QMenu: actions become menu actions wired to the
// host's handlers, icons become theme icons. Every port entry opens the commands, its default
// command in bold; a chosen command names its port directly, so no highlight has to be
// remembered.
#pragma once

#include "tray/tray_menu_model.h"

#include <cstddef>
#include <functional>
#include <memory>

class QMenu;

namespace portmaven::linux_desktop {

struct TrayMenuActions {
    // The command at commandIndex of the command list, chosen under the port at portIndex of
    // the ports the model was built from.
    std::function<void(std::size_t portIndex, int commandIndex)> launch;
    // A port's own items, and a hidden port chosen under "Hidden Ports"; each gets the port's
    // index in the ports the model was built from.
    std::function<void(std::size_t portIndex)> copyPortName{};
    std::function<void(std::size_t portIndex)> portSettings{};
    std::function<void(std::size_t portIndex)> hidePort{};
    std::function<void(std::size_t portIndex)> showPort{};
    std::function<void()> properties;
    std::function<void()> about;
    std::function<void()> exit;
};

// Replaces what the menu holds with the model's entries. The submenus of the previous fill
// are deleted with it (QMenu::clear alone would keep them alive, one per port per fill).
void FillTrayMenu(QMenu& menu, const tray::TrayMenuModel& model, const TrayMenuActions& actions);

} // namespace portmaven::linux_desktop
