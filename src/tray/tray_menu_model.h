// The whole tray menu as data, top to bottom: the port entries with their submenus, the
// program's own entries, their texts, which are greyed and which picture each shows. Built
// without any window system so that it can be checked natively; each platform's adapter only
// maps the actions to its menu items and the icons to its pictures, and writes no text of its
// own.
#pragma once

#include "config/command_list.h"
#include "ports/serial_port.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace portmaven::tray {

// What choosing an entry does.
enum class MenuAction {
    None,           // a greyed placeholder, the blank item, a submenu entry or a separator
    LaunchCommand,  // runs the command at `command` for the port the entry belongs to
    CopyPortName,   // puts the port's name on the clipboard
    CopyFixCommand, // puts the command that lets the user open the port on the clipboard
    PortSettings,   // the name, speed, default command and arrival switch of the port's device
    HidePort,       // takes the port out of the menu and its notices
    ShowPort,       // lists the hidden port at `port` in the menu again
    DeviceManager,
    Properties,
    About,
    Exit,
};

// The picture an entry shows; each platform maps it to its own bitmap or icon.
enum class MenuIcon { None, Port, Command, DeviceManager, Properties, About, Exit };

struct MenuEntry {
    enum class Kind {
        Item,      // chosen for its action
        Port,      // a port: opens the shared command items, then the entry's children
        Submenu,   // opens its children ("More Ports")
        Separator, // a line
    };
    Kind kind = Kind::Item;
    MenuAction action = MenuAction::None;
    // The menu command id the entry is chosen by; 0 for ports, submenus and separators.
    int id = 0;
    // As shown. Texts from data (port labels, command names) have their "&" doubled, so that
    // the menu shows them as written instead of taking them for mnemonics.
    std::u16string text;
    bool greyed = false;
    MenuIcon icon = MenuIcon::None;
    // Kind::Port, a port's own items and MenuAction::ShowPort: the index of the port in the
    // list the menu was built from.
    std::size_t port = 0;
    // MenuAction::LaunchCommand: the index of the command in the command list. Kind::Port: the
    // index of the port's default command, which its submenu shows as its default item; -1 for
    // none.
    int command = -1;
    // Kind::Submenu: its entries; Kind::Port: entries of this port's own, after the commands: a
    // separator, the greyed details line (kPortDetailsId), Copy, Port Settings and Hide; for a
    // port the user cannot open, the greyed fix under the details line and its copy after Copy.
    // They have the same ids under every port; only the texts from the port differ.
    std::vector<MenuEntry> children;
};

// How the platform lays out its menu.
struct TrayMenuLayout {
    // Windows: the template's blank item, "Device Manager" and a separator between
    // "Properties" and "About". Elsewhere: one separator above the program's entries.
    bool windowsTemplate = false;
    // Ports listed on one level before the rest go into a "More Ports" submenu, so that every
    // entry stays on the screen; 0 lists them all on the top level.
    std::size_t portsPerLevel = 0;
};

struct TrayMenuModel {
    std::vector<MenuEntry> entries;
    // What every port entry opens: the commands, or the greyed "<Empty>". All ports show the
    // same items; a chosen item names its port through the port entry it was chosen under.
    std::vector<MenuEntry> commandItems;
};

inline constexpr TrayMenuLayout kWindowsLayout{.windowsTemplate = true, .portsPerLevel = 0};
// About 30 entries fit on a 768-pixel screen with the program's own entries below them.
inline constexpr TrayMenuLayout kLinuxLayout{.windowsTemplate = false, .portsPerLevel = 30};

// The menu for these ports and this command list. Commands get ids kFirstCommandId + i;
// commands past kMaxCommandItems have no id left and are not listed. Hidden ports are listed
// only in a "Hidden Ports" submenu after the ports, when there are any.
TrayMenuModel BuildTrayMenuModel(std::span<const ports::SerialPort> ports,
                                 const config::CommandList& commands, TrayMenuLayout layout);

// Doubles every "&", so that a menu shows the text as written.
std::u16string EscapeMenuText(std::u16string_view text);

} // namespace portmaven::tray
