// What the tray menu remembers while the user moves through it. All port entries share one
// command submenu, so a chosen command does not say under which port it was chosen; the last
// highlighted port entry and command item do.
#pragma once

#include <cstddef>

namespace portmaven::ports {

// The menu system's flag for separators; a closing menu reports all flags set (0xFFFF).
inline constexpr unsigned kMenuSeparatorFlag = 0x800;

struct MenuSelection {
    int port = -1;      // position of the last highlighted port entry
    int commandId = -1; // id of the last highlighted command item
};

// The selection after the menu reports `item` highlighted with `flags` (a submenu entry is
// reported by its position, any other item by its id).
MenuSelection TrackMenuSelect(MenuSelection current, unsigned item, unsigned flags,
                              std::size_t portCount) noexcept;

} // namespace portmaven::ports
