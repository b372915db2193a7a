#include "tray/menu_selection.h"

#include "tray/menu_ids.h"

namespace portmaven::tray {

MenuSelection TrackMenuSelect(MenuSelection current, MenuHighlight highlight,
                              std::size_t portCount) noexcept {
    // Separators, and the notification that the menu closed, keep what the user last chose.
    if (highlight.kind != MenuHighlight::Kind::Item) {
        return current;
    }
    const unsigned item = highlight.item;
    // A submenu entry reports its position, which may be any number: it is a port entry or
    // nothing, never a command.
    if (highlight.opensSubmenu) {
        if (item < portCount) {
            current.port = static_cast<int>(item);
        }
        return current;
    }
    if (item >= static_cast<unsigned>(kFirstCommandId) &&
        item <= static_cast<unsigned>(kLastCommandId)) {
        current.commandId = static_cast<int>(item);
    }
    return current;
}

} // namespace portmaven::tray
