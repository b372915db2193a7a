// Turns the portable tray menu model into a QMenu. Every port entry opens the commands; a
// chosen command names its port directly, so no highlight has to be remembered.
#pragma once

#include "ports/tray_menu_model.h"

#include <functional>
#include <memory>

class QMenu;

namespace portmaven::qt {

struct TrayMenuActions {
    // The command at commandIndex of the command list, chosen under the port at portIndex.
    std::function<void(std::size_t portIndex, int commandIndex)> launch;
    std::function<void()> properties;
    std::function<void()> about;
    std::function<void()> exit;
};

// The ports' submenus are filled when they first open: a click shows the menu without
// creating every port's copy of the commands.
[[nodiscard]] std::unique_ptr<QMenu> BuildTrayMenu(const ports::TrayMenuModel& model,
                                                   const TrayMenuActions& actions);

} // namespace portmaven::qt
