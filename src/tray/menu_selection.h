// What the tray menu remembers while the user moves through it. All port entries share one
// command submenu, so a chosen command does not say under which port it was chosen; the last
// highlighted port entry and command item do.
#pragma once

#include <cstddef>

namespace portmaven::tray {

// One highlight as the menu reports it, decoded by the platform layer.
struct MenuHighlight {
    enum class Kind {
        Item,      // an entry: a submenu entry by its position, any other item by its id
        Separator, // a separator line
        Closed,    // the menu closed
    };
    Kind kind = Kind::Item;
    unsigned item = 0; // Kind::Item only
    // Kind::Item only: the entry opens a submenu, and `item` is its position. Only such an
    // entry can be a port's; every other item is named by its id, whatever its value.
    bool opensSubmenu = false;
};

struct MenuSelection {
    int port = -1;      // position of the last highlighted port entry
    int commandId = -1; // id of the last highlighted command item
};

// The selection after the menu reports the highlight.
MenuSelection TrackMenuSelect(MenuSelection current, MenuHighlight highlight,
                              std::size_t portCount) noexcept;

} // namespace portmaven::tray
