// The pictures of the tray menu's entries and of the tray icon on Linux: the desktop theme's,
// by name, and where the theme has no such name the program's own, which it carries.
#pragma once

#include "tray/tray_menu_model.h"

#include <QByteArray>
#include <QIcon>
#include <QString>

namespace portmaven::linux_desktop {

// The theme's name for the entry's picture; empty for MenuIcon::None.
QString MenuIconName(tray::MenuIcon icon);
// The theme's picture, else the program's own; null for MenuIcon::None.
QIcon MenuIconImage(tray::MenuIcon icon);
// The program's own picture as PNG bytes, for a panel that draws the menu itself and cannot
// find the name in its theme; empty for MenuIcon::None.
QByteArray OwnMenuIconPng(tray::MenuIcon icon);

// The program's icon: "portmaven" from the theme, else the pictures it carries.
QIcon ProgramIcon();

} // namespace portmaven::linux_desktop
