// Turns the portable tray menu model into a QMenu: actions become menu actions wired to the
// host's handlers, icons become theme icons or the program's own. Every port entry opens the
// commands, its default command in bold; a chosen command names its port directly, so no
// highlight has to be remembered.
#pragma once

#include "tray/linux/menu_actions.h"
#include "tray/tray_menu_model.h"

class QMenu;

namespace portmaven::linux_desktop {

// Replaces what the menu holds with the model's entries. The submenus of the previous fill
// are deleted with it (QMenu::clear alone would keep them alive, one per port per fill).
void FillTrayMenu(QMenu& menu, const tray::TrayMenuModel& model, const TrayMenuActions& actions);

// Writes the model's texts and greyed states into the entries the menu holds, in place, so that
// a menu on the screen keeps its open submenus and handlers. False, and the menu untouched,
// when the menu's entries are not those of the model.
bool UpdateTrayMenuTexts(QMenu& menu, const tray::TrayMenuModel& model);

} // namespace portmaven::linux_desktop
